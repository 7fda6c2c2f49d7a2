// Bidirectional friction-pendulum force law, integrated by the shared sub-stepping Newmark
// integrator with one Newton iteration on both displacement components.
#include "granwick/newmark_var.h"

#include <cmath>

#include "core/numerics/magnitude.h"

namespace granwick {

// A displacement change of at most kSameDisplacement reuses the last force and tangent, and so
// does a pair that is not a number. The cache keys on the displacement only: the first Newton
// iteration of a sub-step starts where the last evaluation was, and keeps its force and tangent
// even though the sliding displacement was committed since. Out of line, unlike the
// one-component laws: in the two-component Newton loop a call costs less than the register
// pressure of the inlined test.
void ForceLaw::evaluate(core::Components<2> x) {
  if (distanceFromLast(x) > core::kSameDisplacement) returnMapping(x);
}

// Forces in the units of W, displacements in those of x.
void ForceLaw::returnMapping(core::Components<2> x) {
  BearingState& s = state;
  const Bearing& b = bearing;
  const double x1 = x[0], x2 = x[1];
  const double kp = b.W / b.R;
  const double ke = b.k1 - kp;
  s.dspT[0] = x1;
  s.dspT[1] = x2;
  const double f1 = (x1 - s.dspPlasticC[0]) * ke;
  const double f2 = (x2 - s.dspPlasticC[1]) * ke;
  const double q = std::sqrt(f1 * f1 + f2 * f2);
  const double phi = q - b.W * b.frn;
  if (phi > 0.0) {
    const double lambda = phi / ke;
    s.dspPlasticT[0] = (lambda * f1) / q + s.dspPlasticC[0];
    s.dspPlasticT[1] = (lambda * f2) / q + s.dspPlasticC[1];
    s.frcT[0] = x1 * kp + (f1 * (b.W * b.frn)) / q;
    s.frcT[1] = kp * x2 + (f2 * (b.W * b.frn)) / q;
    const double A = (b.W * b.frn) * ke;
    const double Q3 = core::power(q, 3.0);
    s.stiffT[0][0] = ((f2 * A) * f2) / Q3 + kp;
    s.stiffT[0][1] = -((f2 * (f1 * A)) / Q3);
    s.stiffT[1][0] = s.stiffT[0][1];
    s.stiffT[1][1] = kp + (f1 * (f1 * A)) / Q3;
  } else {
    s.frcT[0] = x1 * kp + f1;
    s.frcT[1] = kp * x2 + f2;
    s.stiffT[0][0] = b.k1;
    s.stiffT[0][1] = 0.0;
    s.stiffT[1][0] = 0.0;
    s.stiffT[1][1] = b.k1;
  }
}

core::SubstepOscillator<ForceLaw> isolatedMass(double m, double zeta, double k1, double frn,
                                               double R, double g) {
  return {ForceLaw(Bearing{k1, g * m, frn, R}), m, core::viscousDamping(m, k1, zeta)};
}

/* Integrates m·ü + cd·u̇ + fs(u) = −m·ag(t) for both horizontal components by Newmark's method
   (β = 1/4, γ = 1/2 from the driver: average acceleration, unconditionally stable for the linear
   part) with a common Newton iteration on the displacement pair. Each step of dt is covered by
   sub-steps that halve whenever Newton does not converge within six iterations. The force-law
   state belongs to this call, so concurrent analyses do not interfere. */
std::int32_t newmarkVar(double* u1, double* u2, double* vel1, double* vel2, double* a1, double* a2,
                        double* fs1, double* fs2, const double* ag1, const double* ag2,
                        std::int32_t nAg, std::int32_t nTH, double dt, double m, double zeta,
                        double k1, double frn, double R, double beta, double gamma, double g) {
  core::SubstepOscillator<ForceLaw> osc = isolatedMass(m, zeta, k1, frn, R, g);
  return core::integrateSubstepped(osc, {{u1, u2}, {vel1, vel2}, {a1, a2}, {fs1, fs2}},
                                   {{ag1, ag2}, nAg}, nTH, dt, core::newmarkFactors(beta, gamma),
                                   kSubsteps);
}

}  // namespace granwick
