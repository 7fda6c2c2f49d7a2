// Linear Newmark integrator: the Newmark relations and equilibrium hold at every step, and the
// method converges to the exact recursive solution as the step shrinks.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/numerics/newmark.h"
#include "core/numerics/recform.h"
#include "support/reference.h"

namespace {

struct Motion {
  std::vector<double> u, v, a, fs;
};

Motion runNewmark(const std::vector<double>& ag, int nTH, double dt, double m, double zeta, double k) {
  Motion r{std::vector<double>(nTH), std::vector<double>(nTH), std::vector<double>(nTH),
        std::vector<double>(nTH)};
  core::newmark(r.u.data(), r.v.data(), r.a.data(), r.fs.data(), ag.data(),
                static_cast<int>(ag.size()), nTH, dt, m, zeta, k, 0.25, 0.5);
  return r;
}

TEST(newmark, satisfies_average_acceleration_relations_and_equilibrium) {
  const double dt = 0.01, m = 2.0, zeta = 0.05, k = 800.0;
  const double c = 2.0 * zeta * std::sqrt(m * k);
  const std::vector<double> ag = support::testRecord(300, dt, 3.0);
  const Motion r = runNewmark(ag, 400, dt, m, zeta, k);
  EXPECT_EQ(r.a[0], -ag[0]);
  for (int i = 0; i + 1 < 400; ++i) {
    const double p1 = i + 1 < 300 ? ag[i + 1] : 0.0;
    const double scale = 1e-12 * (1.0 + std::fabs(r.u[i + 1]) * k / m + std::fabs(p1));
    EXPECT_NEAR(r.u[i + 1], r.u[i] + dt * r.v[i] + dt * dt * 0.25 * (r.a[i] + r.a[i + 1]),
                1e-12 * (1.0 + std::fabs(r.u[i + 1])));
    EXPECT_NEAR(r.v[i + 1], r.v[i] + dt * 0.5 * (r.a[i] + r.a[i + 1]), scale);
    EXPECT_NEAR(m * r.a[i + 1] + c * r.v[i + 1] + k * r.u[i + 1], -m * p1, m * scale);
  }
}

TEST(newmark, converges_to_the_exact_solution_for_small_steps) {
  const double m = 1.0, zeta = 0.05, omega = 2.0 * M_PI / 0.8, k = omega * omega * m;
  for (double dt : {0.01, 0.0025}) {
    const int n = static_cast<int>(std::lround(6.0 / dt));
    const std::vector<double> ag = support::testRecord(n, dt, 1.0);
    const Motion nm = runNewmark(ag, n, dt, m, zeta, k);
    Motion rf = nm;
    core::recform(rf.u.data(), rf.v.data(), rf.a.data(), rf.fs.data(), ag.data(), n, n, dt, m, zeta,
                  k);
    double peak = 0.0, worst = 0.0;
    for (int i = 0; i < n; ++i) {
      peak = std::fmax(peak, std::fabs(rf.u[i]));
      worst = std::fmax(worst, std::fabs(nm.u[i] - rf.u[i]));
    }
    // Average acceleration is second order: the error stays within a few (ω·dt)² of the peak.
    EXPECT_LT(worst, 4.0 * (omega * dt) * (omega * dt) * peak) << "dt " << dt;
  }
}

TEST(newmark, over_damping_stays_finite) {
  const std::vector<double> ag = support::testRecord(200, 0.01);
  const Motion r = runNewmark(ag, 300, 0.01, 1.0, 1.5, 400.0);
  for (double x : r.u) EXPECT_TRUE(std::isfinite(x));
}

TEST(newmark, single_sample_record_is_driven_only_by_the_initial_acceleration) {
  const std::vector<double> ag = {2.0};
  const Motion r = runNewmark(ag, 3, 0.1, 1.0, 0.0, 100.0);
  // Predictor from a[0] = −2, then a free step with p1 = 0: Keff·Δu = −(m·a_pred + k·0).
  const double keff = 4.0 / (0.1 * 0.1) + 100.0;
  const double aPred = -(-2.0);  // aa·a[0] with aa = 1 − 1/(2β) = −1
  EXPECT_DOUBLE_EQ(r.u[1], -(aPred * 1.0) / keff);
}

}  // namespace
