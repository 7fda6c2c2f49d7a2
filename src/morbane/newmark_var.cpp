// Newmark integration of the hardening oscillator by the shared sub-stepping integrator.
#include "morbane/newmark_var.h"

namespace morbane {

core::SubstepLimits substepLimits(const char* module) {
  return {1e-10, 26, 24, 1e-10, core::StepWithoutTime::Attempted, module};
}

core::SubstepOscillator<ForceLaw> hardeningOscillator(double m, double zeta, double k, double fy,
                                                      double kin, double iso,
                                                      const char* module) {
  return {ForceLaw(module, {k, fy, k * kin, k * iso}), m, core::viscousDamping(m, k, zeta)};
}

// Integrates m·ü + cd·u̇ + fs(u) = −m·ag(t), cd = 2ζ√(mk), with Newmark's β and γ (average
// acceleration for 1/4, 1/2) and the hardening material for fs (E = k, σy = fy, Hkin = k·kin,
// Hiso = k·iso). Each step starts at the full dt; a sub-step whose Newton iteration needs more
// than 24 corrections is retried at half the size, which stays in force for the rest of the
// step. ag is linear within a step and zero after the record.
std::int32_t newmarkVar(double* u, double* v, double* a, double* fs, const double* ag,
                        std::int32_t nAg, std::int32_t nTH, double dt, double m, double zeta,
                        double k, double fy, double kin, double iso, double beta, double gamma,
                        const char* module) {
  core::SubstepOscillator<ForceLaw> osc = hardeningOscillator(m, zeta, k, fy, kin, iso, module);
  return core::integrateSubstepped(osc, {{u}, {v}, {a}, {fs}}, {{ag}, nAg}, nTH, dt,
                                   core::newmarkFactors(beta, gamma), substepLimits(module));
}

}  // namespace morbane
