// Lead-rubber-bearing integrator: the linear limit, the force bounds of the bilinear law, the
// acceptance rule of the Newton iterations and the failure report.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "core/numerics/newmark.h"
#include "pellory/newmark_var.h"
#include "support/calls.h"
#include "support/reference.h"
#include "support/substep.h"

namespace {

struct Histories {
  std::vector<double> u, v, a, fs;
  explicit Histories(int n) : u(n, 7.0), v(n, 7.0), a(n, 7.0), fs(n, 7.0) {}
};

int integrate(Histories& h, const std::vector<double>& ag, int nTH, double dt, double m, double k,
              double Qd, double alpha) {
  return pellory::newmarkVar(h.u.data(), h.v.data(), h.a.data(), h.fs.data(), ag.data(),
                             static_cast<int>(ag.size()), nTH, dt, m, 0.0, k, Qd, alpha, 0.25,
                             0.5);
}

double largest(const std::vector<double>& x) {
  double peak = 0.0;
  for (double value : x) peak = std::max(peak, std::fabs(value));
  return peak;
}

constexpr double kDt = 0.01;
constexpr double kMass = 2.0;
const double kStiffness = kMass * std::pow(2.0 * M_PI / 0.8, 2);  // elastic period 0.8 s

TEST(lead_rubber_newmarkVar, bearing_that_never_yields_is_average_acceleration_newmark) {
  const std::vector<double> ag = support::testRecord(300, kDt, 3.0);
  const int nTH = 600;
  Histories bearing(nTH), linear(nTH);
  ASSERT_EQ(integrate(bearing, ag, nTH, kDt, kMass, kStiffness, 1e12, 0.1), 0);
  core::newmark(linear.u.data(), linear.v.data(), linear.a.data(), linear.fs.data(), ag.data(),
                300, nTH, kDt, kMass, 0.0, kStiffness, 0.25, 0.5);
  // Same scheme, different arithmetic (incremental Newton against one linear solve): rounding only.
  const double uBound = 1e-9 * largest(linear.u);
  const double fBound = 1e-9 * largest(linear.fs);
  for (int s = 0; s < nTH; ++s) {
    ASSERT_NEAR(bearing.u[s], linear.u[s], uBound) << s;
    ASSERT_NEAR(bearing.fs[s], linear.fs[s], fBound) << s;
    ASSERT_NEAR(bearing.a[s], linear.a[s], 1e-9 * largest(linear.a)) << s;
  }
}

TEST(lead_rubber_newmarkVar, zero_strength_gives_the_post_yield_spring_force) {
  const std::vector<double> ag = support::testRecord(200, kDt, 2.0);
  Histories h(400);
  ASSERT_EQ(integrate(h, ag, 400, kDt, kMass, kStiffness, 0.0, 0.2), 0);
  const double kd = 0.2 * kStiffness;
  // Exact up to the cache, which may hand back the force of a displacement one epsilon away.
  for (int s = 0; s < 400; ++s)
    ASSERT_NEAR(h.fs[s], kd * h.u[s], kd * 4.5e-16 + 1e-15 * std::fabs(h.fs[s])) << s;
  EXPECT_GT(largest(h.u), 0.01);
}

TEST(lead_rubber_newmarkVar, zero_alpha_caps_the_force_at_the_strength) {
  const std::vector<double> ag = support::testRecord(300, kDt, 4.0);
  const double Qd = 0.5;
  Histories h(600);
  ASSERT_EQ(integrate(h, ag, 600, kDt, kMass, kStiffness, Qd, 0.0), 0);
  EXPECT_LE(largest(h.fs), Qd);
  // Once yielded the force sits exactly at ±Qd: the plastic branch adds 0·k·u.
  const int atCap = static_cast<int>(
      std::count_if(h.fs.begin(), h.fs.end(), [&](double f) { return std::fabs(f) == Qd; }));
  EXPECT_GT(atCap, 10);
}

TEST(lead_rubber_newmarkVar, single_sample_and_free_vibration_after_the_record) {
  const std::vector<double> ag = {0.3, -0.2, 0.5};
  Histories one(3);
  ASSERT_EQ(integrate(one, ag, 1, kDt, kMass, kStiffness, 1.0, 0.1), 0);
  EXPECT_EQ(one.u[0], 0.0);
  EXPECT_EQ(one.a[0], -0.3);
  EXPECT_EQ(one.u[1], 7.0);  // nothing beyond the first sample is written
  EXPECT_EQ(one.fs[1], 7.0);

  // After the record the mass vibrates freely: its elastic energy and kinetic energy are
  // conserved by average acceleration while the bearing stays elastic.
  const std::vector<double> pulse = support::testRecord(100, kDt, 0.2);
  Histories h(2000);
  ASSERT_EQ(integrate(h, pulse, 2000, kDt, kMass, kStiffness, 1e12, 0.1), 0);
  auto energy = [&](int s) {
    return 0.5 * kMass * h.v[s] * h.v[s] + 0.5 * kStiffness * h.u[s] * h.u[s];
  };
  EXPECT_NEAR(energy(1999), energy(200), 1e-9 * energy(200));
}

// Starting from rest, one step of ground acceleration ramping from 0 to A. Displacements this
// small stay within one epsilon of the cached point at rest, so the force is never re-evaluated
// and the Newton iterations converge only linearly: the size of A sets how many they need.
struct TinyStep {
  double m = 1e15, dt = 1e-3, k = 3.6e22, Qd = 1e30, alpha = 0.5;
  std::int32_t firstAttempt(double A, double* u, double* v) const {
    core::Sample<1> w;
    const double agS = 0.0 + ((A - 0.0) * dt) / dt;  // the ground at the end, as integrated
    const std::int32_t j = support::attemptFromRest(pellory::ForceLaw({k, Qd, alpha}), m, dt,
                                                    {0.0}, {agS}, pellory::kSubsteps, w);
    *u = w.u[0];
    *v = w.v[0];
    return j;
  }
};

TEST(lead_rubber_newmarkVar, attempt_settling_after_the_sixth_iteration_is_halved) {
  const TinyStep step;
  for (const auto& [A, iterations] : {std::pair{4.4e-10, 6}, std::pair{4.8e-10, 7}}) {
    double uAttempt = 0.0, vAttempt = 0.0;
    ASSERT_EQ(step.firstAttempt(A, &uAttempt, &vAttempt), iterations) << A;
    Histories h(2);
    ASSERT_EQ(integrate(h, {0.0, A}, 2, step.dt, step.m, step.k, step.Qd, step.alpha), 0);
    // Six iterations: the full-length attempt is the step. Seven: it was rejected and halved.
    EXPECT_EQ(support::sameBits(h.v[1], vAttempt), iterations == 6) << A;
    EXPECT_EQ(support::sameBits(h.u[1], uAttempt), iterations == 6) << A;
  }
}

TEST(lead_rubber_newmarkVar, steps_without_time_hold_the_state_instead_of_stale_samples) {
  const std::vector<double> ag = {0.0, 1.0, 2.0};
  for (double dt : {0.0, -0.01, std::numeric_limits<double>::quiet_NaN()}) {
    Histories h(4);
    ASSERT_EQ(integrate(h, ag, 4, dt, kMass, kStiffness, 1.0, 0.1), 0);
    for (int s = 1; s < 4; ++s) {
      EXPECT_EQ(h.u[s], 0.0) << dt;
      EXPECT_EQ(h.fs[s], 0.0) << dt;
    }
  }
}

}  // namespace
