// Exact recursive integrator: eight constant coefficients map the state at one sample and the
// ground acceleration at both ends of the step to the state at the next sample.
#include "core/numerics/recform.h"

#include <cmath>

namespace core {

RecformCoefficients recformCoefficients(double dt, double m, double zeta, double k) {
  const double omega = std::sqrt(k / m);
  const double r = std::sqrt(1.0 - zeta * zeta);
  const double omegaD = r * omega;
  const double E = std::exp(((-zeta) * omega) * dt);
  const double x = omegaD * dt;
  const double sinX = std::sin(x);
  const double cosX = std::cos(x);
  const double q = -1.0 / (omega * omega);
  const double eta = (2.0 * zeta) / (dt * omega);
  const double twoZetaZeta = (2.0 * zeta) * zeta;

  RecformCoefficients c;
  c.A = (cosX + sinX * (zeta / r)) * E;
  c.B = (sinX * (1.0 / omegaD)) * E;
  c.C = q * ((sinX * ((1.0 - twoZetaZeta) / x - zeta / r) - (eta + 1.0) * cosX) * E + eta);
  c.D = ((1.0 - eta) + (((twoZetaZeta - 1.0) / x) * sinX + eta * cosX) * E) * q;
  c.Ap = -(sinX * (omega / r)) * E;
  c.Bp = (cosX - sinX * (zeta / r)) * E;
  c.Cp = q * (E * ((1.0 / dt) * cosX + (omega / r + zeta / (dt * r)) * sinX) - 1.0 / dt);
  c.Dp = (-1.0 / (dt * (omega * omega))) * (1.0 - c.A);
  c.dampingRate = omega * (-2.0 * zeta);
  return c;
}

void recform(double* u, double* v, double* a, double* fs, const double* ag, std::int32_t nAg,
             std::int32_t nTH, double dt, double m, double zeta, double k) {
  const RecformCoefficients c = recformCoefficients(dt, m, zeta, k);
  const double dampingRate = c.dampingRate;

  u[0] = 0.0;
  v[0] = 0.0;
  fs[0] = k * u[0];
  a[0] = dampingRate * v[0] - ag[0] - fs[0] / m;

  for (std::int32_t i = 0; i < nTH - 1; ++i) {
    const double p0 = i < nAg ? ag[i] : 0.0;
    const double p1 = i < nAg - 1 ? ag[i + 1] : 0.0;
    u[i + 1] = c.A * u[i] + c.B * v[i] + c.C * p0 + c.D * p1;
    v[i + 1] = c.Ap * u[i] + c.Bp * v[i] + c.Cp * p0 + c.Dp * p1;
    fs[i + 1] = k * u[i + 1];
    a[i + 1] = dampingRate * v[i + 1] - p1 - fs[i + 1] / m;
  }
}

}  // namespace core
