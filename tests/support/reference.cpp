// Test references: Runge-Kutta with many sub-steps is slow but leaves no doubt about its answer.
#include "support/reference.h"

#include <cmath>

namespace support {

std::vector<double> testRecord(int n, double dt, double peak) {
  std::vector<double> ag(static_cast<std::size_t>(n));
  const double duration = n * dt;
  double largest = 0.0;
  for (int i = 0; i < n; ++i) {
    const double t = i * dt;
    const double envelope = (t / duration) * std::exp(1.0 - 4.0 * t / duration) * 4.0;
    ag[i] = envelope * (std::sin(2.0 * M_PI * 1.3 * t) + 0.6 * std::sin(2.0 * M_PI * 3.7 * t + 0.4) +
                        0.3 * std::sin(2.0 * M_PI * 0.45 * t + 1.1));
    largest = std::fmax(largest, std::fabs(ag[i]));
  }
  if (largest > 0.0)
    for (double& x : ag) x *= peak / largest;
  return ag;
}

History referenceLinear(const std::vector<double>& ag, int nTH, double dt, double omega,
                        double zeta, int substeps) {
  const int nAg = static_cast<int>(ag.size());
  auto ground = [&](int i, double fraction) {
    const double p0 = i < nAg ? ag[i] : 0.0;
    const double p1 = i + 1 < nAg ? ag[i + 1] : 0.0;
    return p0 + (p1 - p0) * fraction;
  };
  auto accel = [&](double u, double v, double g) {
    return -g - 2.0 * zeta * omega * v - omega * omega * u;
  };
  History h;
  h.u.assign(nTH, 0.0);
  h.v.assign(nTH, 0.0);
  h.a.assign(nTH, 0.0);
  h.a[0] = -ag[0];
  double u = 0.0, v = 0.0;
  const double step = dt / substeps;
  for (int i = 0; i + 1 < nTH; ++i) {
    for (int s = 0; s < substeps; ++s) {
      const double f0 = double(s) / substeps, fh = (s + 0.5) / substeps, f1 = (s + 1.0) / substeps;
      const double g0 = ground(i, f0), gh = ground(i, fh), g1 = ground(i, f1);
      const double k1u = v, k1v = accel(u, v, g0);
      const double k2u = v + 0.5 * step * k1v, k2v = accel(u + 0.5 * step * k1u, k2u, gh);
      const double k3u = v + 0.5 * step * k2v, k3v = accel(u + 0.5 * step * k2u, k3u, gh);
      const double k4u = v + step * k3v, k4v = accel(u + step * k3u, k4u, g1);
      u += step / 6.0 * (k1u + 2.0 * k2u + 2.0 * k3u + k4u);
      v += step / 6.0 * (k1v + 2.0 * k2v + 2.0 * k3v + k4v);
    }
    h.u[i + 1] = u;
    h.v[i + 1] = v;
    h.a[i + 1] = accel(u, v, i + 1 < nAg ? ag[i + 1] : 0.0);
  }
  return h;
}

}  // namespace support
