// Host entry point of Daskent: spectra = Daskent(ag1, ag2, dt, m, zeta, T[, method]) or
// Daskent(ag1, ag2, dt, m, zeta, Tstart, Tend, nT[, method]).
#pragma once

#include "core/gateway/form.h"
#include "core/gateway/host_api.h"

namespace daskent {

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]);

// The calling form and the output fields.
const gateway::Signature& signature();

}  // namespace daskent
