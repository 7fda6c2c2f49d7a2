// Friction-pendulum force law, integrated by the shared sub-stepping Newmark integrator.
#include "tillock/newmark_var.h"

#include <cmath>

namespace tillock {

// Return mapping of the friction element from the committed sliding displacement: the trial
// force (x − dspPlasticC)·(k1 − kp) is capped at the sliding force frn·W.
void ForceLaw::returnMapping(double x) {
  BearingState& s = state;
  s.dspT[0] = x;
  const double ft = (x - s.dspPlasticC[0]) * (bearing.k1 - bearing.kp);
  const double phi = std::fabs(ft) - bearing.W * bearing.frn;
  if (phi > 0.0) {
    const double sign = ft < 0.0 ? -1.0 : 1.0;
    s.dspPlasticT[0] = sign * (phi / (bearing.k1 - bearing.kp)) + s.dspPlasticC[0];
    s.frcT[0] = sign * (bearing.W * bearing.frn) + bearing.kp * x;
    s.stiffT[0][0] = bearing.kp;
  } else {
    s.frcT[0] = ft + bearing.kp * x;
    s.stiffT[0][0] = bearing.k1;
  }
}

core::SubstepOscillator<ForceLaw> isolatedMass(double m, double zeta, double k1, double frn,
                                               double R, double g) {
  const double W = g * m;
  return {ForceLaw(Bearing{W, frn, k1, W / R}), m, core::viscousDamping(m, k1, zeta)};
}

std::int32_t newmarkVar(double* u, double* v, double* a, double* fs, const double* ag,
                        std::int32_t nAg, std::int32_t nTH, double dt, double m, double zeta,
                        double k1, double frn, double R, double beta, double gamma, double g) {
  core::SubstepOscillator<ForceLaw> osc = isolatedMass(m, zeta, k1, frn, R, g);
  return core::integrateSubstepped(osc, {{u}, {v}, {a}, {fs}}, {{ag}, nAg}, nTH, dt,
                                   core::newmarkFactors(beta, gamma), kSubsteps);
}

}  // namespace tillock
