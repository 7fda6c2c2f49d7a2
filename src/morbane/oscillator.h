// One oscillator of a Morbane call as its driver analyses it, for response histories.
#pragma once

#include <cstdint>

#include "core/spectra/elastic_oscillator.h"
#include "core/spectra/histories.h"
#include "morbane/driver.h"

namespace morbane {

// Period i and damping ratio j of the call: elastic stiffness and analysis length.
core::ElasticOscillator oscillatorOf(const Inputs& in, std::int32_t i, std::int32_t j);

// The hardening analysis of oscillator o at the yield force fy into histories of o.nTH samples,
// exactly as the driver runs its final analysis (the yield force is the call's "yieldFrc" of
// that oscillator). Returns 0, or −1 after the module's warning when a sub-step does not
// converge.
std::int32_t analyseOscillator(const Inputs& in, const core::ElasticOscillator& o, double fy,
                               const core::Histories& h);

}  // namespace morbane
