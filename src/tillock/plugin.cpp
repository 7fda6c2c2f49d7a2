// The C-linkage entry point that Octave and MATLAB look up in Tillock.mex (mass and gravity).
#include "tillock/gateway.h"

extern "C" void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  tillock::mexFunction(nlhs, plhs, nrhs, prhs);
}
