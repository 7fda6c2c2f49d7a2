// The C-linkage entry point that Octave and MATLAB look up in Vintarrow.mex.
#include "vintarrow/gateway.h"

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  vintarrow::mexFunction(nlhs, plhs, nrhs, prhs);
}
