// The C-linkage entry point that Octave and MATLAB look up in Daskent.mex.
#include "daskent/gateway.h"

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  daskent::mexFunction(nlhs, plhs, nrhs, prhs);
}
