// Pellory, lead-rubber-bearing spectra: peaks of a mass on a bilinear isolator over post-yield
// periods and characteristic strengths, with yield, reduction and equivalent-linear quantities.
#pragma once

#include <cstdint>

#include "core/spectra/outputs.h"
#include "core/spectra/series.h"

namespace pellory {

struct Inputs {
  core::Series ag;        // ground acceleration
  double dt = 0.0;        // its time step, s
  double m = 0.0;         // mass
  core::Series Qd;        // characteristic strengths (forces)
  core::Periods periods;  // post-yield periods, s
  double alpha = 0.0;     // post-yield to elastic stiffness ratio
};

// For every post-yield period T[j] and characteristic strength Qd[q], integrates the bearing
// (post-yield stiffness m·ω², elastic stiffness m·ω²/alpha, no viscous damping) under ag for
// 2·nAg samples, then two linear analyses (at the elastic stiffness, and at the effective
// stiffness and damping), and writes the nT × nQd outputs at j + q·nT, which must be zero on
// entry. A pair whose analysis does not converge stays zero. Returns 0, or −1 with a console
// warning when the scratch histories cannot be allocated.
std::int32_t getSpectra(const core::SpectraOutputs& out, const Inputs& in);

// The same, one analysis at a time on full histories: the reference the fast path (the analyses
// side by side in vector lanes, bit for bit the same) is compared with. getSpectra takes it under
// SPECTRA_PATH=straightforward.
std::int32_t getSpectraStraightforward(const core::SpectraOutputs& out, const Inputs& in);

}  // namespace pellory
