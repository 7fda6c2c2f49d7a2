// Uniaxial elastoplastic material with linear kinematic and isotropic hardening.
#pragma once

#include <cstdint>

namespace core {

// Material state of one analysis; `module` names the module in the warning text.
struct HardeningState {
  double strainPlasticC = 0.0, stressBackC = 0.0, hardeningC = 0.0;
  double strainPlasticT = 0.0, stressBackT = 0.0, hardeningT = 0.0;
  double strainT = 0.0, stressT = 0.0, tangentT = 0.0;
  const char* module = "Morbane";
};

// Return-mapping material law (units of the caller: strain, stress, moduli consistent).
// action 1: stress at `strain` (trial), 2: tangent at `strain`, 3: initial tangent E,
// 4: commit the trial internal variables. Any other action warns and returns 0.
double hardening(HardeningState& state, std::int32_t action, double strain, double E, double fy,
                 double Hkin, double Hiso);

}  // namespace core
