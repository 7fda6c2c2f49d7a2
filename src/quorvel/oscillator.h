// One oscillator of a Quorvel call as its driver analyses it, for response histories.
#pragma once

#include <cstdint>

#include "core/spectra/elastic_oscillator.h"
#include "core/spectra/histories.h"
#include "quorvel/driver.h"

namespace quorvel {

// Period i and damping ratio j of the call: stiffness and analysis length.
core::ElasticOscillator oscillatorOf(const Inputs& in, std::int32_t i, std::int32_t j);

// The linear analysis of oscillator o (method "recform" or "newmark") into histories of o.nTH
// samples, exactly as the straightforward driver runs it.
void analyseOscillator(const Inputs& in, const core::ElasticOscillator& o,
                       const core::Histories& h);

}  // namespace quorvel
