// The C-linkage entry point that Octave and MATLAB look up in Quorvel.mex.
#include "quorvel/gateway.h"

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  quorvel::mexFunction(nlhs, plhs, nrhs, prhs);
}
