// Daskent, two-component elastic response spectra: peaks of the horizontal response vector of
// linear oscillators over periods and damping ratios.
#pragma once

#include <cstdint>

#include "core/spectra/outputs.h"
#include "core/spectra/series.h"

namespace daskent {

struct Inputs {
  core::Series ag1, ag2;           // the two horizontal ground-acceleration components
  double dt = 0.0;                 // their time step, s
  double m = 0.0;                  // mass
  core::Series zeta;               // damping ratios
  core::Periods periods;           // natural periods, s
  const char* method = "recform";  // "recform" (exact recurrence) or "newmark"
};

// For every period T[i] and damping ratio zeta[j], integrates the linear oscillator of mass m
// under each component (by "recform" or "newmark", both over the samples the components have in
// common plus the same free-vibration tail) and writes the peaks over time of the resultants
// √(x1² + x2²) into the nT × nZeta outputs at i + j·nT (which must be zero on entry). "pga" is
// the peak resultant ground acceleration. Returns 0, or −1 with a console warning when the
// scratch histories cannot be allocated. Oscillators advance several at a time in vector lanes
// over core::threadCount() threads, bit for bit as the straightforward path below.
std::int32_t getSpectra(const core::SpectraOutputs& out, const Inputs& in);

// The same spectra one oscillator at a time through full histories of both components, as the
// algorithm is written; getSpectra takes this path when core::straightforward() is set.
std::int32_t getSpectraStraightforward(const core::SpectraOutputs& out, const Inputs& in);

}  // namespace daskent
