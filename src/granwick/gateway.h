// Host entry point of Granwick: spectra = Granwick(ag1, ag2, dt, m, g, frn, T, uy) or
// Granwick(ag1, ag2, dt, m, g, frn, Tstart, Tend, nT, uy).
#pragma once

#include "core/gateway/form.h"
#include "core/gateway/host_api.h"

namespace granwick {

void mexFunction(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]);

// The calling form and the output fields.
const gateway::Signature& signature();

}  // namespace granwick
