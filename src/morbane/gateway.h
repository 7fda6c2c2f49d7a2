// Host entry point of Morbane: spectra = Morbane(ag, dt, m, zeta, T, kin, iso, method,
// para) or Morbane(ag, dt, m, zeta, Tstart, Tend, nT, kin, iso, method, para).
#pragma once

#include "core/gateway/form.h"
#include "core/gateway/host_api.h"

namespace morbane {

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]);

// The calling form and the output fields.
const gateway::Signature& signature();

}  // namespace morbane
