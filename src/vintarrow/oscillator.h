// One oscillator of a Vintarrow call as its driver analyses it, for response histories.
#pragma once

#include <cstdint>

#include "core/spectra/histories.h"
#include "vintarrow/driver.h"

namespace vintarrow {

// Samples of every analysis of the call: the samples both components have, and as many again of
// ground at rest.
std::int64_t historyLength(const Inputs& in);

// The coupled bearing analysis of period i and strength j into histories of historyLength(in)
// samples, component 1 in h.c1 and component 2 in h.c2, exactly as the driver runs it. Returns
// 0, or −1 after the module's warning when a sub-step does not converge.
std::int32_t analyseOscillator(const Inputs& in, std::int32_t i, std::int32_t j,
                               const core::Histories2& h);

}  // namespace vintarrow
