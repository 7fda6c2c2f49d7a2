// The fast path of the elastic drivers, one or two components: every (period, damping ratio)
// pair through the vector-lane batches, then the derived spectral values.
#pragma once

#include <cstdint>

#include "core/spectra/outputs.h"

namespace core {

// Fills everything but "pga" exactly as the one-oscillator-at-a-time drivers do, for method
// "recform" or "newmark"; ag2 is null for one component. Returns −1 after printing
// allocationWarning when the call's histories could not be held.
std::int32_t fastElasticSpectra(const SpectraOutputs& out, const double* ag1, const double* ag2,
                                std::int32_t nAg, double dt, const double* T, std::int32_t nT,
                                double m, const double* zeta, std::int32_t nZeta, bool recform,
                                const char* allocationWarning);

}  // namespace core
