// The C-linkage entry point that Octave and MATLAB look up in Granwick.mex.
#include "granwick/gateway.h"

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  granwick::mexFunction(nlhs, plhs, nrhs, prhs);
}
