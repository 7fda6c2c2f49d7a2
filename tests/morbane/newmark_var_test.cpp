// The sub-stepping inelastic integrator: agreement with the linear Newmark scheme while elastic,
// the force bound of the perfectly plastic oscillator, and the acceptance and halving rules.
#include "morbane/newmark_var.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "support/console.h"
#include "core/numerics/newmark.h"
#include "support/reference.h"

namespace {

struct Histories {
  std::vector<double> u, v, a, fs;
  std::int32_t status = 0;
  std::string console;
};

Histories integrate(const std::vector<double>& ag, std::int32_t nTH, double dt, double m,
                    double zeta, double k, double fy, double kin, double iso,
                    const char* module = "Morbane") {
  Histories run;
  const std::size_t n = static_cast<std::size_t>(std::max(nTH, 2));
  run.u.assign(n, 7.0);
  run.v.assign(n, 7.0);
  run.a.assign(n, 7.0);
  run.fs.assign(n, 7.0);
  run.console = support::consoleOf([&] {
    run.status = morbane::newmarkVar(run.u.data(), run.v.data(), run.a.data(), run.fs.data(),
                                  ag.data(), static_cast<std::int32_t>(ag.size()), nTH, dt, m, zeta,
                                  k, fy, kin, iso, 0.25, 0.5, module);
  });
  return run;
}

double peak(const std::vector<double>& x) {
  double p = 0.0;
  for (double value : x) p = std::max(p, std::fabs(value));
  return p;
}

TEST(newmarkVar, a_record_at_rest_leaves_every_history_at_zero) {
  const Histories run =
      integrate(std::vector<double>(50, 0.0), 80, 0.02, 2.0, 0.05, 50.0, 0.1, 0.1, 0.1);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(peak(run.u) + peak(run.v) + peak(run.a) + peak(run.fs), 0.0);
}

TEST(newmarkVar, a_strong_oscillator_matches_the_linear_newmark_scheme) {
  const double dt = 0.01, m = 2.0, zeta = 0.05, k = m * 4.0 * M_PI * M_PI;
  const std::vector<double> ag = support::testRecord(600, dt, 3.0);
  const std::int32_t nTH = 900;
  const Histories run = integrate(ag, nTH, dt, m, zeta, k, 1e30, 0.02, 0.01);
  std::vector<double> u(nTH), v(nTH), a(nTH), fs(nTH);
  core::newmark(u.data(), v.data(), a.data(), fs.data(), ag.data(), 600, nTH, dt, m, zeta, k, 0.25,
                0.5);
  ASSERT_EQ(run.status, 0);
  EXPECT_TRUE(run.console.empty());
  // Both solve the same linear step equations; only rounding differs.
  const double bound = 1e-9 * peak(u);
  for (std::int32_t s = 0; s < nTH; ++s) {
    ASSERT_NEAR(run.u[s], u[s], bound) << "sample " << s;
    ASSERT_NEAR(run.fs[s], fs[s], 1e-9 * peak(fs)) << "sample " << s;
  }
}

TEST(newmarkVar, the_perfectly_plastic_force_stays_within_the_yield_force) {
  const double dt = 0.01, m = 1.0, k = 4.0 * M_PI * M_PI, fy = 0.3;
  const std::vector<double> ag = support::testRecord(800, dt, 4.0);
  const Histories run = integrate(ag, 1200, dt, m, 0.02, k, fy, 0.0, 0.0);
  ASSERT_EQ(run.status, 0);
  EXPECT_LE(peak(run.fs), fy * (1.0 + 1e-14));  // the return mapping may round up by an ulp
  EXPECT_GT(peak(run.fs), 0.999 * fy);          // it did yield ...
  EXPECT_GT(peak(run.u), 3.0 * fy / k);         // ... well beyond the yield displacement
}

TEST(newmarkVar, kinematic_hardening_lets_the_force_grow_along_the_hardening_slope) {
  const double dt = 0.01, m = 1.0, k = 4.0 * M_PI * M_PI, fy = 0.3, kin = 0.1;
  const std::vector<double> ag = support::testRecord(800, dt, 4.0);
  const Histories run = integrate(ag, 1200, dt, m, 0.02, k, fy, kin, 0.0);
  ASSERT_EQ(run.status, 0);
  // |fs − Hkin'·u| stays within fy on the bilinear envelope, Hkin' = k·Hkin/(k + Hkin).
  const double post = k * (k * kin) / (k + k * kin);
  EXPECT_GT(peak(run.fs), fy);
  EXPECT_LE(peak(run.fs), fy + post * peak(run.u) + 1e-12);
}

// An attempt whose Newton residual halves with every correction and first meets the tolerance
// after exactly `corrections` of them. The force is huge but the displacements stay below the
// material's strain cache tolerance, so the material keeps returning the force at rest while
// reporting the elastic tangent k; with k equal to the dynamic stiffness the residual halves.
struct Designed {
  double m, k, p;
};

Designed designAttempt(int corrections, double dt) {
  const double K = 4e22 * std::pow(4.0, corrections - 1);  // k + dynamic stiffness
  const double r0 = 5e-17 * K;                             // total displacement below 1e-16
  const double k = K / 2.0;
  const double m = k * dt * (0.25 * dt);
  return {m, k, r0 / (2.0 * m)};
}

Histories runDesigned(int corrections, double dt) {
  const Designed d = designAttempt(corrections, dt);
  return integrate({d.p, d.p}, 2, dt, d.m, 0.0, d.k, 1e300, 0.0, 0.0);
}

TEST(newmarkVar, convergence_at_the_24th_correction_is_accepted) {
  const Histories run = runDesigned(24, 0.5e-10);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.console, "");
}

TEST(newmarkVar, convergence_only_at_the_25th_correction_is_rejected) {
  // The step is already below the smallest halvable sub-step, so the rejection ends the call.
  const Histories run = runDesigned(25, 0.5e-10);
  EXPECT_EQ(run.status, -1);
  EXPECT_EQ(run.console, "??? Morbane::newmarkVar - failed to converge: dtSub = 0.000000\n");
}

TEST(newmarkVar, a_rejected_attempt_is_retried_at_half_the_sub_step) {
  // Halving quadruples the dynamic stiffness, so the second attempt converges quickly.
  for (double dt : {1e-10, 0.01}) {
    const Histories run = runDesigned(25, dt);
    EXPECT_EQ(run.status, 0) << "dt " << dt;
    EXPECT_EQ(run.console, "") << "dt " << dt;
    EXPECT_TRUE(std::isfinite(run.u[1]));
  }
}

TEST(newmarkVar, the_failure_warning_names_the_module_it_serves) {
  const Designed d = designAttempt(30, 0.9e-10);
  const Histories run =
      integrate({d.p, d.p, d.p}, 3, 0.9e-10, d.m, 0.0, d.k, 1e300, 0.0, 0.0, "Tillock");
  EXPECT_EQ(run.status, -1);
  EXPECT_EQ(run.console, "??? Tillock::newmarkVar - failed to converge: dtSub = 0.000000\n");
}

TEST(newmarkVar, the_ground_ramps_to_rest_over_the_last_record_interval) {
  // Record [0, g] then rest: over the tail the oscillator vibrates freely, so sample 2 and later
  // see zero ground acceleration: the restoring, damping and inertia forces balance.
  const double dt = 0.01, m = 1.0, k = 100.0, zeta = 0.05;
  const Histories run = integrate({0.0, 1.0}, 40, dt, m, zeta, k, 1e30, 0.0, 0.0);
  ASSERT_EQ(run.status, 0);
  const double cd = std::sqrt(m * k) * (zeta + zeta);
  for (std::size_t s = 2; s < 40; ++s)
    EXPECT_NEAR(m * run.a[s] + cd * run.v[s] + run.fs[s], 0.0, 1e-9) << "sample " << s;
  EXPECT_NEAR(m * (run.a[1] + 1.0) + cd * run.v[1] + run.fs[1], 0.0, 1e-9);
}

}  // namespace
