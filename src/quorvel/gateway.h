// Host entry point of Quorvel: spectra = Quorvel(ag, dt, m, zeta, T[, method]) or
// Quorvel(ag, dt, m, zeta, Tstart, Tend, nT[, method]).
#pragma once

#include "core/gateway/form.h"
#include "core/gateway/host_api.h"

namespace quorvel {

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]);

// The calling form and the output fields.
const gateway::Signature& signature();

}  // namespace quorvel
