// One oscillator of a Tillock call as its driver analyses it, for response histories.
#pragma once

#include <cstdint>

#include "core/spectra/histories.h"
#include "tillock/driver.h"
#include "tillock/driver_weight.h"

namespace tillock {

// Samples of every analysis of the call: the record and as many again of ground at rest.
std::int64_t historyLength(const Inputs& in);

// The isolator analysis of period i and friction coefficient j into histories of
// historyLength(in) samples, exactly as the driver runs it. Returns 0, or −1 after the module's
// warning when a sub-step does not converge.
std::int32_t analyseOscillator(const Inputs& in, std::int32_t i, std::int32_t j,
                               const core::Histories& h);

}  // namespace tillock

namespace tillock::weight {

// Samples of every analysis of the call: the record and as many again of ground at rest.
std::int64_t historyLength(const Inputs& in);

// The bilinear analysis of period i and friction coefficient j into histories of
// historyLength(in) samples, exactly as the driver runs it. Returns 0, or −1 after the module's
// warning when a sub-step does not converge.
std::int32_t analyseOscillator(const Inputs& in, std::int32_t i, std::int32_t j,
                               const core::Histories& h);

}  // namespace tillock::weight
