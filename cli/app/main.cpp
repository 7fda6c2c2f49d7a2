// spectra: response spectra of accelerogram files from the command line.
#include "cli/app/app.h"

int main(int argc, char** argv) { return cli::run(argc, argv); }
