// Host entry point of Tillock, mass-and-gravity variant: spectra = Tillock(ag, dt, m, g, frn,
// T, uy) or Tillock(ag, dt, m, g, frn, Tstart, Tend, nT, uy).
#pragma once

#include "core/gateway/host_api.h"

namespace tillock {

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]);

}  // namespace tillock
