// The C-linkage entry point that Octave and MATLAB look up in Pellory.mex.
#include "pellory/gateway.h"

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  pellory::mexFunction(nlhs, plhs, nrhs, prhs);
}
