// Newmark integration of an inelastic oscillator with automatic sub-stepping, over the hardening
// material.
#pragma once

#include <cstdint>

#include "core/numerics/substep_newmark.h"
#include "morbane/hardening.h"

namespace morbane {

// The hardening material as the force law of the sub-stepping integrator: the restoring force is
// the stress, the tangent its modulus, with the strain taken as the displacement.
struct ForceLaw {
  static constexpr std::size_t kComponents = 1;
  HardeningState state;
  HardeningModuli moduli;

  // At rest, for the module named `module` in warnings.
  ForceLaw(const char* module, const HardeningModuli& h) : state(module), moduli(h) {
    initialiseHardening(state, h.E);
  }
  void evaluate(core::Components<1> x) { evaluateHardening(state, x[0], moduli); }
  double force(std::size_t) const { return state.stressT; }
  double tangent(std::size_t, std::size_t) const { return state.tangentT; }
  void commit() { commitHardening(state); }
};

// Newton stops below a correction work |du·r/2| of 1e-10 or after 26 corrections; an attempt
// that needed more than 24 is halved, down to 1e-10 (a shorter rejected sub-step fails). A step
// without time is attempted once.
core::SubstepLimits substepLimits(const char* module);

// The oscillator at rest, as newmarkVar integrates it (arguments as there).
core::SubstepOscillator<ForceLaw> hardeningOscillator(double m, double zeta, double k, double fy,
                                                      double kin, double iso,
                                                      const char* module);

// Fills u, v, a, fs (nTH entries) for m·ü + c·u̇ + fs(u) = −m·ag(t) with the hardening material
// (yield force fy, kinematic/isotropic hardening ratios kin, iso); `module` names the module in
// the warning text. Returns 0 on success and −1 when no sub-step converges.
std::int32_t newmarkVar(double* u, double* v, double* a, double* fs, const double* ag,
                        std::int32_t nAg, std::int32_t nTH, double dt, double m, double zeta,
                        double k, double fy, double kin, double iso, double beta, double gamma,
                        const char* module);

}  // namespace morbane
