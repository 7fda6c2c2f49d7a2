// One oscillator of a Daskent call as its driver analyses it, for response histories.
#pragma once

#include <cstdint>

#include "core/spectra/elastic_oscillator.h"
#include "core/spectra/histories.h"
#include "daskent/driver.h"

namespace daskent {

// Period i and damping ratio j of the call: stiffness and analysis length.
core::ElasticOscillator oscillatorOf(const Inputs& in, std::int32_t i, std::int32_t j);

// The linear analyses of oscillator o under each component (method "recform" or "newmark") into
// histories of o.nTH samples, component 1 in h.c1 and component 2 in h.c2, exactly as the
// straightforward driver runs them.
void analyseOscillator(const Inputs& in, const core::ElasticOscillator& o,
                       const core::Histories2& h);

}  // namespace daskent
