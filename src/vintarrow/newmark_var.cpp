// Two-component lead-rubber-bearing force law (radial return, cache on the last displacement
// pair), integrated by the shared sub-stepping Newmark integrator.
#include "vintarrow/newmark_var.h"

#include <cmath>

#include "core/numerics/magnitude.h"

namespace vintarrow {

// The cache: the first iteration of a sub-step repeats the last accepted pair and reuses the
// forces and tangent of that acceptance. Pairs whose components moved by at most
// kSameDisplacement in total count as the same point, and so does a pair that is not a number.
// Out of line, unlike the one-component laws: in the two-component Newton loop a call costs
// less than the register pressure of the inlined test.
void ForceLaw::evaluate(core::Components<2> x) {
  if (distanceFromLast(x) > core::kSameDisplacement) returnMapping(x);
}

void ForceLaw::returnMapping(core::Components<2> x) {
  BearingState& s = state;
  const double x1 = x[0], x2 = x[1];
  s.dspT[0] = x1;
  s.dspT[1] = x2;
  const double kh = (1.0 - bearing.alpha) * bearing.k;
  const double kd = bearing.alpha * bearing.k;
  const double f1 = (x1 - s.dspPlasticC[0]) * kh;
  const double f2 = kh * (x2 - s.dspPlasticC[1]);
  const double q = std::sqrt(f1 * f1 + f2 * f2);
  const double Qd = bearing.Qd;
  if (q - Qd > 0.0) {
    // Radial return onto the circle of radius Qd; the tangent is kd·I + (kh·Qd/q)·(I − n·nᵀ).
    const double delta = (q - Qd) / kh;
    s.dspPlasticT[0] = (delta * f1) / q + s.dspPlasticC[0];
    s.dspPlasticT[1] = (delta * f2) / q + s.dspPlasticC[1];
    s.frcT[0] = (f1 * Qd) / q + x1 * kd;
    s.frcT[1] = (Qd * f2) / q + kd * x2;
    const double A = kh * Qd;
    const double Q3 = core::power(q, 3.0);
    s.stiffT[0][0] = ((f2 * A) * f2) / Q3 + kd;
    s.stiffT[0][1] = -((f2 * (A * f1)) / Q3);
    s.stiffT[1][0] = s.stiffT[0][1];
    s.stiffT[1][1] = ((A * f1) * f1) / Q3 + kd;
  } else {
    // The trial plastic pair is deliberately kept (see the one-component bearing).
    s.frcT[0] = x1 * kd + f1;
    s.frcT[1] = kd * x2 + f2;
    s.stiffT[0][0] = bearing.k;
    s.stiffT[1][1] = bearing.k;
    s.stiffT[0][1] = 0.0;
    s.stiffT[1][0] = 0.0;
  }
}

core::SubstepOscillator<ForceLaw> bearingMass(double m, double zeta, double k, double Qd,
                                              double alpha) {
  return {ForceLaw(Bearing{k, Qd, alpha}), m, core::viscousDamping(m, k, zeta)};
}

std::int32_t newmarkVar(double* u1, double* u2, double* v1, double* v2, double* a1, double* a2,
                        double* fs1, double* fs2, const double* ag1, const double* ag2,
                        std::int32_t nAg, std::int32_t nTH, double dt, double m, double zeta,
                        double k, double Qd, double alpha, double beta, double gamma) {
  core::SubstepOscillator<ForceLaw> osc = bearingMass(m, zeta, k, Qd, alpha);
  return core::integrateSubstepped(osc, {{u1, u2}, {v1, v2}, {a1, a2}, {fs1, fs2}},
                                   {{ag1, ag2}, nAg}, nTH, dt, core::newmarkFactors(beta, gamma),
                                   kSubsteps);
}

}  // namespace vintarrow
