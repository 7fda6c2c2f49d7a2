// The C-linkage entry point that Octave and MATLAB look up in Morbane.mex.
#include "morbane/gateway.h"

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  morbane::mexFunction(nlhs, plhs, nrhs, prhs);
}
