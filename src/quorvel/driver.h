// Quorvel, elastic response spectra: peaks of linear oscillators over periods and damping ratios.
#pragma once

#include <cstdint>

#include "core/spectra/outputs.h"
#include "core/spectra/series.h"

namespace quorvel {

struct Inputs {
  core::Series ag;                 // ground acceleration
  double dt = 0.0;                 // its time step, s
  double m = 0.0;                  // mass
  core::Series zeta;               // damping ratios
  core::Periods periods;           // natural periods, s
  const char* method = "recform";  // "recform" (exact recurrence) or "newmark"
};

// For every period T[i] and damping ratio zeta[j], integrates the linear oscillator of mass m
// under ag (by "recform" or "newmark") over the record plus a free-vibration tail, and writes the
// peaks into the nT × nZeta outputs at i + j·nT (which must be zero on entry). Returns 0, or −1
// with a console warning when the scratch histories cannot be allocated. Oscillators advance
// several at a time in vector lanes and spread over core::threadCount() threads; the results are
// bit for bit those of the straightforward path below.
std::int32_t getSpectra(const core::SpectraOutputs& out, const Inputs& in);

// The same spectra, one oscillator at a time through full time histories, as the algorithm is
// written; getSpectra takes this path when core::straightforward() is set.
std::int32_t getSpectraStraightforward(const core::SpectraOutputs& out, const Inputs& in);

}  // namespace quorvel
