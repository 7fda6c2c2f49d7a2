// Host entry point of Tillock, weight variant: spectra = Tillock(ag, dt, W, frn, T, uy) or
// Tillock(ag, dt, W, frn, Tstart, Tend, nT, uy).
#pragma once

#include "core/gateway/form.h"
#include "core/gateway/host_api.h"

namespace tillock::weight {

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]);

// The calling form and the output fields.
const gateway::Signature& signature();

}  // namespace tillock::weight
