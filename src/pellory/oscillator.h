// One oscillator of a Pellory call as its driver analyses it, for response histories.
#pragma once

#include <cstdint>

#include "core/spectra/histories.h"
#include "pellory/driver.h"

namespace pellory {

// Samples of every analysis of the call: the record and as many again of ground at rest.
std::int64_t historyLength(const Inputs& in);

// The bearing analysis of period i and strength j into histories of historyLength(in) samples,
// exactly as the driver runs it. Returns 0, or −1 after the module's warning when a sub-step
// does not converge.
std::int32_t analyseOscillator(const Inputs& in, std::int32_t i, std::int32_t j,
                               const core::Histories& h);

}  // namespace pellory
