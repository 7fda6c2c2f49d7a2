// The C-linkage entry point that Octave and MATLAB look up in Tillock.mex (weight variant).
#include "tillock/gateway_weight.h"

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  tillock::weight::mexFunction(nlhs, plhs, nrhs, prhs);
}
