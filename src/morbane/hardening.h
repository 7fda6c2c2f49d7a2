// Uniaxial elastoplastic material with linear kinematic and isotropic hardening.
#pragma once

#include <cmath>
#include <cstdint>

#include "core/numerics/substep_newmark.h"

namespace morbane {

// Material state of one analysis: committed (C) and trial (T) internal variables and the last
// evaluation; `module` names the module that owns the analysis in the warning text.
struct HardeningState {
  explicit HardeningState(const char* owner) : module(owner) {}
  double strainPlasticC = 0.0, stressBackC = 0.0, hardeningC = 0.0;
  double strainPlasticT = 0.0, stressBackT = 0.0, hardeningT = 0.0;
  double strainT = 0.0, stressT = 0.0, tangentT = 0.0;
  const char* module;
};

// The moduli of one analysis: elastic E, yield stress fy, kinematic and isotropic hardening.
struct HardeningModuli {
  double E, fy, Hkin, Hiso;
};

// State at rest: every internal variable 0, the last evaluation at strain 0 with tangent E.
void initialiseHardening(HardeningState& state, double E);

// Brings stressT and tangentT to `strain` by a return mapping from the committed variables.
void returnMapHardening(HardeningState& state, double strain, const HardeningModuli& moduli);

// The same unless the strain lies within the double machine epsilon (kSameDisplacement) of the
// last evaluation; a NaN strain keeps the stored values too.
inline void evaluateHardening(HardeningState& state, double strain,
                              const HardeningModuli& moduli) {
  if (std::fabs(state.strainT - strain) > core::kSameDisplacement)
    returnMapHardening(state, strain, moduli);
}

// The trial internal variables become the committed ones.
void commitHardening(HardeningState& state);

// The material through one entry point with a named action; `strain` matters for Stress and
// Tangent only. Stress and Tangent at the same strain share one evaluation.
enum class HardeningAction : std::int32_t { Initialise = 1, Stress = 2, Tangent = 3, Commit = 4 };

// Initialise returns 0 (tangent E, everything else 0); Stress evaluates at `strain` and returns
// the stress; Tangent evaluates there and returns the tangent; Commit returns 0. Any value
// outside the four warns and returns −1 with the state unchanged.
double hardening(HardeningState& state, HardeningAction action, double strain, double E, double fy,
                 double Hkin, double Hiso);

}  // namespace morbane
