// Host entry point of Tillock: spectra = Tillock(ag, dt, m, g, frn, T, uy) or
// Tillock(ag, dt, m, g, frn, Tstart, Tend, nT, uy).
#pragma once

#include "core/gateway/form.h"
#include "core/gateway/host_api.h"

namespace tillock {

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]);

// The calling form and the output fields.
const gateway::Signature& signature();

}  // namespace tillock
