// Tillock, friction-pendulum isolator spectra (weight variant): the bearing's bilinear law taken
// from Morbane's hardening material, for a given weight under a fixed gravity.
#pragma once

#include <cstdint>

#include "core/spectra/outputs.h"
#include "core/spectra/series.h"

namespace tillock::weight {

// Gravity of the weight variant: standard gravity in in/s², so ag is in in/s² and uy in inches.
constexpr double kGravity = 386.1;

struct Inputs {
  core::Series ag;        // ground acceleration, in/s²
  double dt = 0.0;        // its time step, s
  double W = 0.0;         // weight carried
  core::Series frn;       // friction coefficients
  core::Periods periods;  // pendulum periods, s
  double uy = 0.0;        // pre-sliding (yield) displacement, in
};

// For every pendulum period T[i] and friction coefficient frn[j], integrates the mass W/g on a
// friction-pendulum isolator (pre-sliding displacement uy) under ag over the record plus a
// free-vibration tail of the record's length, and writes peaks, yield quantities and the ratios
// to the elastic system of initial stiffness into the nT × nFrn outputs at i + j·nT (which must
// be zero on entry). A pair whose integration fails keeps its zeros. Returns 0, or −1 with a
// console warning when the scratch histories cannot be allocated.
std::int32_t getSpectra(const core::SpectraOutputs& out, const Inputs& in);

// The same, one analysis at a time on full histories: the reference the fast path (the analyses
// side by side in vector lanes, bit for bit the same) is compared with. getSpectra takes it under
// SPECTRA_PATH=straightforward.
std::int32_t getSpectraStraightforward(const core::SpectraOutputs& out, const Inputs& in);

}  // namespace tillock::weight
