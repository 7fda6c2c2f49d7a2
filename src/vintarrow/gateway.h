// Host entry point of Vintarrow: spectra = Vintarrow(ag1, ag2, dt, m, Qd, T, alpha) or
// Vintarrow(ag1, ag2, dt, m, Qd, Tstart, Tend, nT, alpha).
#pragma once

#include "core/gateway/form.h"
#include "core/gateway/host_api.h"

namespace vintarrow {

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]);

// The calling form and the output fields.
const gateway::Signature& signature();

}  // namespace vintarrow
