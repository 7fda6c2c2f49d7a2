// Tillock, friction-pendulum isolator spectra (mass-and-gravity variant): peaks of the isolated
// mass, the isolator's characteristics and two reference linear systems per period and friction
// coefficient.
#pragma once

#include <cstdint>

#include "core/spectra/outputs.h"
#include "core/spectra/series.h"

namespace tillock {

struct Inputs {
  core::Series ag;        // ground acceleration
  double dt = 0.0;        // its time step, s
  double m = 0.0;         // mass
  double g = 0.0;         // gravity, in the unit of ag
  core::Series frn;       // friction coefficients
  core::Periods periods;  // pendulum periods, s
  double uy = 0.0;        // pre-sliding (yield) displacement
};

// For every pendulum period T[i] and friction coefficient frn[j], integrates the mass m on a
// friction-pendulum isolator (gravity g, pre-sliding displacement uy) under ag over the record
// plus a free-vibration tail of the record's length, and writes peaks, yield quantities, the
// ratios to the elastic system of initial stiffness and the equivalent-linear quantities into the
// nT × nFrn outputs at i + j·nT (which must be zero on entry). A pair whose integration fails
// keeps its zeros. Returns 0, or −1 with a console warning when the scratch histories cannot be
// allocated.
std::int32_t getSpectra(const core::SpectraOutputs& out, const Inputs& in);

// The same, one analysis at a time on full histories: the reference the fast path (the analyses
// side by side in vector lanes, bit for bit the same) is compared with. getSpectra takes it under
// SPECTRA_PATH=straightforward.
std::int32_t getSpectraStraightforward(const core::SpectraOutputs& out, const Inputs& in);

}  // namespace tillock
