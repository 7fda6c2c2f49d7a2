// Exact recursive integrator against closed forms and a fine-step Runge-Kutta reference.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/numerics/recform.h"
#include "support/reference.h"

namespace {

struct Histories {
  std::vector<double> u, v, a, fs;
  explicit Histories(int n) : u(n), v(n), a(n), fs(n) {}
};

Histories runRecform(const std::vector<double>& ag, int nTH, double dt, double m, double zeta,
                     double omega) {
  Histories h(nTH);
  const double k = omega * (omega * m);
  core::recform(h.u.data(), h.v.data(), h.a.data(), h.fs.data(), ag.data(),
                static_cast<int>(ag.size()), nTH, dt, m, zeta, k);
  return h;
}

TEST(recform, matches_fine_step_reference_for_piecewise_linear_excitation) {
  const double dt = 0.02;
  const std::vector<double> ag = support::testRecord(300, dt, 2.5);
  for (double zeta : {0.0, 0.05, 0.4}) {
    for (double period : {0.1, 0.7, 3.0}) {
      const double omega = 2.0 * M_PI / period;
      const int nTH = 450;  // record plus a free-vibration tail
      const Histories h = runRecform(ag, nTH, dt, 2.0, zeta, omega);
      const support::History ref = support::referenceLinear(ag, nTH, dt, omega, zeta, 200);
      double scale = 0.0, worst = 0.0;
      for (int i = 0; i < nTH; ++i) {
        scale = std::fmax(scale, std::fabs(ref.u[i]));
        worst = std::fmax(worst, std::fabs(h.u[i] - ref.u[i]));
        worst = std::fmax(worst, std::fabs(h.v[i] - ref.v[i]) / omega);
        EXPECT_DOUBLE_EQ(h.fs[i], (omega * (omega * 2.0)) * h.u[i]);
      }
      EXPECT_LT(worst, 1e-8 * scale + 1e-14) << "zeta " << zeta << " T " << period;
    }
  }
}

TEST(recform, writes_only_the_initial_state_for_one_sample) {
  const std::vector<double> ag = {0.7, 1.0};
  Histories h(3);
  h.u[1] = h.v[1] = h.a[1] = h.fs[1] = 42.0;
  core::recform(h.u.data(), h.v.data(), h.a.data(), h.fs.data(), ag.data(), 2, 1, 0.01, 1.0,
                0.05, 10.0);
  EXPECT_EQ(h.u[0], 0.0);
  EXPECT_EQ(h.v[0], 0.0);
  EXPECT_EQ(h.fs[0], 0.0);
  EXPECT_EQ(h.a[0], -0.7);
  EXPECT_EQ(h.u[1], 42.0);
}

TEST(recform, constant_record_settles_at_static_displacement) {
  const double a0 = 0.3, m = 1.5, omega = 2.0 * M_PI / 0.5;
  const std::vector<double> ag(4000, a0);
  const Histories h = runRecform(ag, 4000, 0.01, m, 0.05, omega);
  EXPECT_NEAR(h.u.back(), -a0 / (omega * omega), 1e-9);
  EXPECT_NEAR(h.fs.back(), -m * a0, 1e-8);
}

TEST(recform, record_shorter_than_history_ramps_to_zero_then_vibrates_freely) {
  // One sample: the first step ramps from ag[0] to 0, every later step is free vibration.
  const std::vector<double> ag = {1.0};
  const double omega = 2.0 * M_PI;
  const Histories h = runRecform(ag, 200, 0.01, 1.0, 0.02, omega);
  const support::History ref = support::referenceLinear(ag, 200, 0.01, omega, 0.02, 400);
  for (int i = 0; i < 200; ++i) EXPECT_NEAR(h.u[i], ref.u[i], 1e-12);
}

TEST(recform, critical_and_over_damping_give_nan_after_the_first_sample) {
  const std::vector<double> ag = support::testRecord(20, 0.01);
  for (double zeta : {1.0, 1.5}) {
    const Histories h = runRecform(ag, 20, 0.01, 1.0, zeta, 10.0);
    EXPECT_EQ(h.u[0], 0.0);
    for (int i = 1; i < 20; ++i) EXPECT_TRUE(std::isnan(h.u[i])) << i;
  }
}

}  // namespace
