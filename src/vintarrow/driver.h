// Vintarrow, two-component lead-rubber-bearing spectra: peaks of the resultant response of a mass
// on an isolator with a circular yield surface, over post-yield periods and characteristic
// strengths.
#pragma once

#include <cstdint>

#include "core/spectra/outputs.h"
#include "core/spectra/series.h"

namespace vintarrow {

struct Inputs {
  core::Series ag1, ag2;  // the two horizontal ground-acceleration components
  double dt = 0.0;        // their time step, s
  double m = 0.0;         // mass
  core::Series Qd;        // characteristic strengths (forces)
  core::Periods periods;  // post-yield periods, s
  double alpha = 0.0;     // post-yield to elastic stiffness ratio
};

// As Pellory's spectra, with ag1 and ag2 acting together (over the samples they have in common)
// and every peak, "pga" and "resDsp" taken on the vector magnitude of the two components. The
// nT × nQd outputs at j + q·nT must be zero on entry; a pair whose analysis does not converge
// stays zero. Returns 0, or −1 with a console warning when the scratch histories cannot be
// allocated.
std::int32_t getSpectra(const core::SpectraOutputs& out, const Inputs& in);

// The same, one analysis at a time on full histories: the reference the fast path (the analyses
// side by side in vector lanes, bit for bit the same) is compared with. getSpectra takes it under
// SPECTRA_PATH=straightforward.
std::int32_t getSpectraStraightforward(const core::SpectraOutputs& out, const Inputs& in);

}  // namespace vintarrow
