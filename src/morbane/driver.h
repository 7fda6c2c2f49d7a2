// Morbane, inelastic response spectra: hardening oscillators whose strength follows one design
// parameter.
#pragma once

#include <cstdint>

#include "core/spectra/outputs.h"
#include "core/spectra/series.h"

namespace morbane {

struct Inputs {
  core::Series ag;               // ground acceleration
  double dt = 0.0;               // its time step, s
  double m = 0.0;                // mass
  core::Series zeta;             // damping ratios
  core::Periods periods;         // natural periods, s
  double kin = 0.0;              // kinematic hardening ratio
  double iso = 0.0;              // isotropic hardening ratio
  const char* method = nullptr;  // strength definition keyword
  double para = 0.0;             // its value
};

// For every period T[i] and damping ratio zeta[j], analyses the elastic oscillator (exact
// recursive method), chooses the yield force from para as `method` says ("yieldStrength"/"fy",
// "yieldDisplacement"/"uy", "strengthReductionFactor"/"R", "ductilityFactor"/"mu"), analyses the
// hardening oscillator and writes its peaks and strength measures into the nT × nZeta outputs at
// i + j·nT (zero on entry). An oscillator whose final analysis fails keeps zeros. Returns −1 with
// a console warning when the scratch histories cannot be allocated, when a ductility search does
// not converge, or for an unknown keyword.
std::int32_t getSpectra(const core::SpectraOutputs& out, const Inputs& in);

// The same, one analysis at a time on full histories: the reference the fast path (the analyses
// side by side in vector lanes, bit for bit the same) is compared with. getSpectra takes it under
// SPECTRA_PATH=straightforward. The outputs of a call that fails (−1) are not defined: the paths
// and thread counts may leave different oscillators written.
std::int32_t getSpectraStraightforward(const core::SpectraOutputs& out, const Inputs& in);

// The design parameter a keyword names; Unknown for any other text.
enum class Strength { YieldStrength, YieldDisplacement, ReductionFactor, Ductility, Unknown };

Strength strengthDefinition(const char* method);

}  // namespace morbane
