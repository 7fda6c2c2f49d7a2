// Lead-rubber-bearing force law with a cache on the last displacement, integrated by the shared
// sub-stepping Newmark integrator.
#include "pellory/newmark_var.h"

#include <cmath>

namespace pellory {

void ForceLaw::returnMapping(double x) {
  BearingState& s = state;
  s.dspT[0] = x;
  const double kh = (1.0 - bearing.alpha) * bearing.k;
  const double fh = (x - s.dspPlasticC[0]) * kh;
  const double d = std::fabs(fh) - bearing.Qd;
  if (d > 0.0) {
    const double sign = fh >= 0.0 ? 1.0 : -1.0;
    s.dspPlasticT[0] = sign * (d / kh) + s.dspPlasticC[0];
    s.frcT[0] = (bearing.alpha * bearing.k) * x + sign * bearing.Qd;
    s.stiffT[0][0] = bearing.alpha * bearing.k;
  } else {
    // dspPlasticT is deliberately kept: a yielding evaluation earlier in the same sub-step
    // decides what the next commit takes over.
    s.frcT[0] = (bearing.alpha * bearing.k) * x + fh;
    s.stiffT[0][0] = bearing.k;
  }
}

core::SubstepOscillator<ForceLaw> bearingMass(double m, double zeta, double k, double Qd,
                                              double alpha) {
  return {ForceLaw(Bearing{k, Qd, alpha}), m, core::viscousDamping(m, k, zeta)};
}

std::int32_t newmarkVar(double* u, double* v, double* a, double* fs, const double* ag,
                        std::int32_t nAg, std::int32_t nTH, double dt, double m, double zeta,
                        double k, double Qd, double alpha, double beta, double gamma) {
  core::SubstepOscillator<ForceLaw> osc = bearingMass(m, zeta, k, Qd, alpha);
  return core::integrateSubstepped(osc, {{u}, {v}, {a}, {fs}}, {{ag}, nAg}, nTH, dt,
                                   core::newmarkFactors(beta, gamma), kSubsteps);
}

}  // namespace pellory
