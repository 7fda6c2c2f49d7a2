// Linear Newmark integrator: predictor from the Newmark relations, then the single correction
// that solves the step exactly because the oscillator is linear.
#include "core/numerics/newmark.h"

#include <cmath>

namespace core {

NewmarkConstants newmarkConstants(double dt, double m, double zeta, double k, double beta,
                                  double gamma) {
  NewmarkConstants n;
  n.c = (zeta + zeta) * std::sqrt(m * k);
  n.c1 = gamma / (beta * dt);
  n.c2 = 1.0 / (dt * (beta * dt));
  n.kEff = (n.c2 * m + n.c1 * n.c) + k;
  n.bv = 1.0 - gamma / beta;
  n.ba = ((gamma * (-0.5)) / beta + 1.0) * dt;
  n.av = -1.0 / (beta * dt);
  n.aa = (-0.5) / beta + 1.0;
  return n;
}

void newmark(double* u, double* v, double* a, double* fs, const double* ag, std::int32_t nAg,
             std::int32_t nTH, double dt, double m, double zeta, double k, double beta,
             double gamma) {
  const NewmarkConstants n = newmarkConstants(dt, m, zeta, k, beta, gamma);
  const double c = n.c, c1 = n.c1, c2 = n.c2, kEff = n.kEff;
  const double bv = n.bv, ba = n.ba, av = n.av, aa = n.aa;

  u[0] = 0.0;
  v[0] = 0.0;
  fs[0] = k * u[0];
  a[0] = (-ag[0] - (c / m) * v[0]) - fs[0] / m;

  for (std::int32_t i = 0; i < nTH - 1; ++i) {
    u[i + 1] = u[i];
    v[i + 1] = bv * v[i] + ba * a[i];
    a[i + 1] = av * v[i] + aa * a[i];
    const double p1 = i < nAg - 1 ? ag[i + 1] : 0.0;
    const double du = -(((p1 + a[i + 1]) * m + c * v[i + 1]) + fs[i]) / kEff;
    u[i + 1] = du + u[i + 1];
    v[i + 1] = c1 * du + v[i + 1];
    a[i + 1] = du * c2 + a[i + 1];
    fs[i + 1] = k * u[i + 1];
  }
}

}  // namespace core
