// Host entry point of Pellory: spectra = Pellory(ag, dt, m, Qd, T, alpha) or
// Pellory(ag, dt, m, Qd, Tstart, Tend, nT, alpha).
#pragma once

#include "core/gateway/form.h"
#include "core/gateway/host_api.h"

namespace pellory {

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]);

// The calling form and the output fields.
const gateway::Signature& signature();

}  // namespace pellory
