// Granwick, two-component friction-pendulum isolator spectra over periods and friction
// coefficients.
#pragma once

#include <cstdint>

#include "core/spectra/outputs.h"
#include "core/spectra/series.h"

namespace granwick {

struct Inputs {
  core::Series ag1, ag2;  // the two horizontal ground-acceleration components
  double dt = 0.0;        // their time step, s
  double m = 0.0;         // mass
  double g = 0.0;         // gravity, in the unit of the records
  core::Series frn;       // friction coefficients
  core::Periods periods;  // pendulum periods, s
  double uy = 0.0;        // pre-sliding (yield) displacement
};

// For every pendulum period T[i] and friction coefficient frn[j], integrates the isolated mass m
// under both components (over the samples they have in common, then as many samples of ground at
// rest) with gravity g and pre-sliding displacement uy, and writes the peaks of the resultant
// responses, the isolator characteristics and the factors relating them to two linear reference
// systems into the nT × nFrn outputs at i + j·nT (which must be zero on entry). A pair whose
// integration does not converge keeps zeros. Returns 0, or −1 with a console warning when the
// scratch histories cannot be allocated.
std::int32_t getSpectra(const core::SpectraOutputs& out, const Inputs& in);

// The same, one analysis at a time on full histories: the reference the fast path (the analyses
// side by side in vector lanes, bit for bit the same) is compared with. getSpectra takes it under
// SPECTRA_PATH=straightforward.
std::int32_t getSpectraStraightforward(const core::SpectraOutputs& out, const Inputs& in);

}  // namespace granwick
