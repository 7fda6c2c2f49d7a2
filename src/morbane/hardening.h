// Uniaxial elastoplastic material with linear kinematic and isotropic hardening.
#pragma once

#include <cstdint>

namespace morbane {

// Material state of one analysis; `module` names the module in the warning text.
struct HardeningState {
  double strainPlasticC = 0.0, stressBackC = 0.0, hardeningC = 0.0;
  double strainPlasticT = 0.0, stressBackT = 0.0, hardeningT = 0.0;
  double strainT = 0.0, stressT = 0.0, tangentT = 0.0;
  const char* module = "Morbane";
};

// Return-mapping material law (units of the caller: strain, stress, moduli consistent).
// Action 1 initialises the state (tangent E, everything else 0) and returns 0; 2 evaluates at
// `strain` and returns the stress; 3 evaluates at `strain` and returns the tangent; 4 commits the
// trial internal variables and returns 0. Evaluations re-run only when the strain has moved by
// more than the double machine epsilon. Any other action warns and returns −1 with the state
// unchanged.
double hardening(HardeningState& state, std::int32_t action, double strain, double E, double fy,
                 double Hkin, double Hiso);

}  // namespace morbane
