// The friction-pendulum integrator: start, rest, the two linear limits, sliding, and the
// rejection of sub-steps whose Newton iteration needs more than six corrections.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/numerics/newmark.h"
#include "tillock/newmark_var.h"
#include "support/reference.h"

namespace {

constexpr double kG = 386.1;
constexpr double kPi = 3.141592653589793;

struct Histories {
  std::vector<double> u, v, a, fs;
  std::int32_t status;
};

// Pendulum of period T under mass m: its radius and stiffness as the driver forms them.
double radius(double T) {
  const double omega = (kPi * 2.0) / T;
  return kG / (omega * omega);
}

Histories integrate(const std::vector<double>& ag, int nTH, double dt, double m, double k1, double frn,
              double R) {
  // Samples beyond nTH, preset to 7, show what was not written.
  const std::size_t size = static_cast<std::size_t>(std::max(nTH, 1)) + 2;
  Histories r{std::vector<double>(size, 7.0), std::vector<double>(size, 7.0),
              std::vector<double>(size, 7.0), std::vector<double>(size, 7.0), 0};
  r.status = tillock::newmarkVar(r.u.data(), r.v.data(), r.a.data(), r.fs.data(), ag.data(),
                                 static_cast<int>(ag.size()), nTH, dt, m, 0.0, k1, frn, R, 0.25,
                                 0.5, kG);
  return r;
}

// Linear Newmark (same β, γ) of stiffness k, for the limits where the bearing is linear.
Histories linear(const std::vector<double>& ag, int nTH, double dt, double m, double k) {
  Histories r{std::vector<double>(nTH), std::vector<double>(nTH), std::vector<double>(nTH),
              std::vector<double>(nTH), 0};
  core::newmark(r.u.data(), r.v.data(), r.a.data(), r.fs.data(), ag.data(),
                static_cast<int>(ag.size()), nTH, dt, m, 0.0, k, 0.25, 0.5);
  return r;
}

double largest(const std::vector<double>& x, int n) {
  double peak = 0.0;
  for (int s = 0; s < n; ++s) peak = std::max(peak, std::fabs(x[s]));
  return peak;
}

TEST(friction_pendulum_newmarkVar, record_at_rest_leaves_the_mass_at_rest) {
  const std::vector<double> ag(50, 0.0);
  const Histories r = integrate(ag, 100, 0.01, 1.0, 500.0, 0.05, radius(2.0));
  EXPECT_EQ(r.status, 0);
  for (int s = 0; s < 100; ++s) {
    ASSERT_EQ(r.u[s], 0.0) << s;
    ASSERT_EQ(r.fs[s], 0.0) << s;
  }
}

// The average-acceleration scheme is the same discrete map for both integrators, so they agree
// to rounding: 1e-9 of the peak bounds the accumulated difference over 1200 steps.
void expectLinear(const Histories& r, const Histories& ref, int n, double stiffness) {
  const double uPeak = largest(ref.u, n);
  for (int s = 0; s < n; ++s) {
    ASSERT_NEAR(r.u[s], ref.u[s], 1e-9 * uPeak) << s;
    ASSERT_NEAR(r.fs[s], stiffness * r.u[s], 1e-9 * stiffness * uPeak) << s;
  }
}

TEST(friction_pendulum_newmarkVar, without_friction_is_a_linear_pendulum) {
  const double dt = 0.01, m = 1.3, R = radius(2.5);
  const double kp = (kG * m) / R;
  const std::vector<double> ag = support::testRecord(600, dt, 150.0);
  const Histories r = integrate(ag, 1200, dt, m, kp, 0.0, R);  // k1 = kp when frn = 0
  ASSERT_EQ(r.status, 0);
  expectLinear(r, linear(ag, 1200, dt, m, kp), 1200, kp);
}

TEST(friction_pendulum_newmarkVar, motion_within_pre_sliding_range_has_initial_stiffness) {
  const double dt = 0.01, m = 1.0, R = radius(3.0), uy = 0.5, frn = 0.2;
  const double W = kG * m, kp = W / R, k1 = ((frn * W) / uy) + kp;
  const std::vector<double> ag = support::testRecord(600, dt, 20.0);
  const Histories r = integrate(ag, 1200, dt, m, k1, frn, R);
  ASSERT_EQ(r.status, 0);
  ASSERT_LT(largest(r.u, 1200) * (k1 - kp), frn * W);  // premise: never slides
  expectLinear(r, linear(ag, 1200, dt, m, k1), 1200, k1);
}

TEST(friction_pendulum_newmarkVar, sliding_force_is_capped_by_friction_plus_pendulum) {
  const double dt = 0.01, m = 1.0, R = radius(3.0), uy = 0.05, frn = 0.05;
  const double W = kG * m, kp = W / R, k1 = ((frn * W) / uy) + kp;
  const std::vector<double> ag = support::testRecord(600, dt, 200.0);
  const Histories r = integrate(ag, 1200, dt, m, k1, frn, R);
  ASSERT_EQ(r.status, 0);
  ASSERT_GT(largest(r.u, 1200), 5.0 * uy);  // premise: slides well beyond uy
  int sliding = 0;
  for (int s = 0; s < 1200; ++s) {
    // The friction part fs − kp·u never exceeds the sliding force.
    ASSERT_LE(std::fabs(r.fs[s] - kp * r.u[s]), frn * W * (1.0 + 1e-12)) << s;
    if (std::fabs(std::fabs(r.fs[s] - kp * r.u[s]) - frn * W) < 1e-9 * frn * W) ++sliding;
  }
  EXPECT_GT(sliding, 100);
}

// A step whose Newton iteration meets the tolerance only at its seventh correction (found by
// search; rounding keeps the residual alive at this force level) must be rejected and done as
// two half sub-steps.
TEST(friction_pendulum_newmarkVar, seventh_iteration_rejects_the_sub_step) {
  const double dt = 0.01, m = 1.0, uy = 0.002, frn = 0.014, R = radius(0.11);
  const double W = kG * m, kp = W / R, k1 = ((frn * W) / uy) + kp;
  const std::vector<double> ag = {1.64e12, 1.3e11, -5.77e12};
  core::SubstepOscillator<tillock::ForceLaw> osc{tillock::ForceLaw({W, frn, k1, W / R}), m, 0.0};
  const core::NewmarkFactors f = core::newmarkFactors(0.25, 0.5);
  auto agAt = [&](double te) { return ((ag[2] - ag[1]) * te) / dt + ag[1]; };
  auto attempt = [&](double dtSub, double agSub, core::Sample<1>& w) {
    return core::attemptSubStep(osc, f, tillock::kSubsteps, dtSub, {agSub}, w);
  };
  auto accept = [&](const core::Sample<1>& w) {
    osc.law.evaluate(w.u);
    osc.law.commit();
    osc.committed = {w.u, w.v, w.a};
  };

  // Step 0 by hand, accepted at the full step.
  osc.committed = {{0.0}, {0.0}, {-ag[0]}};
  core::Sample<1> step0;
  ASSERT_LE(attempt(dt, ((ag[1] - ag[0]) * dt) / dt + ag[0], step0), 6);
  accept(step0);

  // Step 1 at the full size needs exactly seven corrections. The rejected attempt leaves its
  // trial state behind, as in the integrator.
  core::Sample<1> full;
  ASSERT_EQ(attempt(dt, agAt(dt), full), 7);

  // The two halves converge.
  core::Sample<1> half;
  ASSERT_LE(attempt(dt * 0.5, agAt(dt * 0.5), half), 6);
  accept(half);
  ASSERT_LE(attempt(dt * 0.5, agAt(dt * 0.5 + dt * 0.5), half), 6);

  const Histories r = integrate(ag, 3, dt, m, k1, frn, R);
  ASSERT_EQ(r.status, 0);
  EXPECT_EQ(r.u[1], step0.u[0]);
  EXPECT_NE(r.u[2], full.u[0]);
  EXPECT_EQ(r.u[2], half.u[0]);
  EXPECT_EQ(r.v[2], half.v[0]);
}

TEST(friction_pendulum_newmarkVar, never_converging_step_fails_after_halving) {
  // Forces of 1e23 leave rounding residuals far above the tolerance at every sub-step size.
  const double R = radius(2.0), W = kG * 1.3;
  const std::vector<double> ag = {1e23, 0.98e23, 0.97e23, 1.01e23};
  const Histories r = integrate(ag, 8, 0.01, 1.3, ((0.05 * W) / 0.01) + W / R, 0.05, R);
  EXPECT_EQ(r.status, -1);
}

}  // namespace
