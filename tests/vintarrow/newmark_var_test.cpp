// Two-component bearing integrator: the one-component limit, coupled yielding on the diagonal
// and the bound of the hysteretic force.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/numerics/magnitude.h"
#include "pellory/newmark_var.h"
#include "vintarrow/newmark_var.h"
#include "support/calls.h"
#include "support/reference.h"
#include "support/substep.h"

namespace {

struct Planar {
  std::vector<double> u1, u2, v1, v2, a1, a2, fs1, fs2;
  explicit Planar(int n)
      : u1(n), u2(n), v1(n), v2(n), a1(n), a2(n), fs1(n), fs2(n) {}
};

constexpr double kDt = 0.01;
constexpr double kMass = 1.0;
constexpr double kAlpha = 0.1;
const double kStiffness = kMass * std::pow(2.0 * M_PI / 2.0, 2) / kAlpha;  // post-yield T = 2 s
constexpr double kQd = 0.05;

int integrate(Planar& h, const std::vector<double>& ag1, const std::vector<double>& ag2,
              int nTH) {
  return vintarrow::newmarkVar(h.u1.data(), h.u2.data(), h.v1.data(), h.v2.data(), h.a1.data(),
                               h.a2.data(), h.fs1.data(), h.fs2.data(), ag1.data(), ag2.data(),
                               static_cast<int>(ag1.size()), nTH, kDt, kMass, 0.0, kStiffness,
                               kQd, kAlpha, 0.25, 0.5);
}

double largest(const std::vector<double>& x) {
  double peak = 0.0;
  for (double value : x) peak = std::max(peak, std::fabs(value));
  return peak;
}

TEST(lead_rubber2d_newmarkVar, one_component_motion_matches_the_one_component_bearing) {
  const std::vector<double> ag = support::testRecord(400, kDt, 3.0);
  const std::vector<double> zero(400, 0.0);
  Planar h(800);
  ASSERT_EQ(integrate(h, ag, zero, 800), 0);
  std::vector<double> u(800), v(800), a(800), fs(800);
  ASSERT_EQ(pellory::newmarkVar(u.data(), v.data(), a.data(), fs.data(), ag.data(), 400, 800, kDt,
                                kMass, 0.0, kStiffness, kQd, kAlpha, 0.25, 0.5),
            0);
  ASSERT_GT(largest(u), 5.0 * kQd / ((1.0 - kAlpha) * kStiffness));  // well into yield
  // Only the convergence tests differ (factor 0.5): the two agree to the Newton tolerance.
  for (int s = 0; s < 800; ++s) {
    ASSERT_NEAR(h.u1[s], u[s], 1e-7 * largest(u)) << s;
    ASSERT_NEAR(h.fs1[s], fs[s], 1e-7 * largest(fs)) << s;
    ASSERT_EQ(h.u2[s], 0.0) << s;
    ASSERT_EQ(h.fs2[s], 0.0) << s;
    ASSERT_EQ(h.a2[s], 0.0) << s;
  }
}

TEST(lead_rubber2d_newmarkVar, diagonal_motion_yields_on_the_strength_circle) {
  const std::vector<double> ag = support::testRecord(400, kDt, 3.0);
  Planar h(800);
  ASSERT_EQ(integrate(h, ag, ag, 800), 0);
  const double kd = kAlpha * kStiffness;
  const double uy = kQd / ((1.0 - kAlpha) * kStiffness);  // one-component yield displacement
  int firstYield = -1;
  double hysteretic = 0.0;
  for (int s = 0; s < 800; ++s) {
    ASSERT_TRUE(support::sameBits(h.u1[s], h.u2[s])) << s;  // symmetric formulas, same bits
    const double resultant = core::magnitude(h.u1[s], h.u2[s]);
    const double h1 = h.fs1[s] - kd * h.u1[s];
    const double h2 = h.fs2[s] - kd * h.u2[s];
    hysteretic = std::max(hysteretic, core::magnitude(h1, h2));
    // Each component of the coupled force stays at Qd/√2; uncoupled bearings would give Qd each.
    ASSERT_LE(std::fabs(h1), kQd / std::sqrt(2.0) * (1.0 + 1e-9)) << s;
    const bool elastic = std::fabs(h.fs1[s] - kStiffness * h.u1[s]) <= 1e-9 * std::fabs(h.fs1[s]);
    if (firstYield < 0 && !elastic) firstYield = s;
    if (firstYield < 0) {
      ASSERT_LE(resultant, uy * (1.0 + 1e-9)) << s;
    }
  }
  ASSERT_GT(firstYield, 0);
  EXPECT_GE(core::magnitude(h.u1[firstYield], h.u2[firstYield]), uy);
  EXPECT_NEAR(hysteretic, kQd, 1e-9 * kQd);
}

TEST(lead_rubber2d_newmarkVar, the_plane_has_no_preferred_direction) {
  // A record along the diagonal, of components ag/√2, is the one-component record ag turned by
  // 45°: its resultant response is the one-component response.
  const std::vector<double> ag = support::testRecord(300, kDt, 3.0);
  std::vector<double> along(300);
  for (int i = 0; i < 300; ++i) along[i] = ag[i] / std::sqrt(2.0);
  Planar h(600);
  ASSERT_EQ(integrate(h, along, along, 600), 0);
  std::vector<double> u(600), v(600), a(600), fs(600);
  ASSERT_EQ(pellory::newmarkVar(u.data(), v.data(), a.data(), fs.data(), ag.data(), 300, 600, kDt,
                                kMass, 0.0, kStiffness, kQd, kAlpha, 0.25, 0.5),
            0);
  for (int s = 0; s < 600; ++s) {
    const double sign = u[s] < 0.0 ? -1.0 : 1.0;
    ASSERT_NEAR(sign * core::magnitude(h.u1[s], h.u2[s]), u[s], 1e-7 * largest(u)) << s;
    ASSERT_NEAR(std::copysign(core::magnitude(h.fs1[s], h.fs2[s]), fs[s]), fs[s],
                1e-7 * largest(fs))
        << s;
  }
}

// From rest, one step of ground acceleration ramping from 0 to A along the first axis, so small
// that the displacements stay within the bearing's cache of its evaluation at rest: the forces
// stay 0 and the tangent k·I, and each Newton correction leaves 0.9 of the residual
// (k/(k + Kdyn)). The size of A sets how many corrections the first attempt needs before their
// work |R1·du1| + |R2·du2| drops below 1e-12.
TEST(lead_rubber2d_newmarkVar, an_attempt_settling_only_after_the_sixth_correction_is_halved) {
  const double m = 1e15, dt = 1e-3, k = 3.6e22, Qd = 1e30, alpha = 0.5;
  for (const auto& [A, corrections] : {std::pair{3.25e-10, 6}, std::pair{3.65e-10, 7}}) {
    core::Sample<2> attempt;
    const double agSub = 0.0 + ((A - 0.0) * dt) / dt;  // the ground at the end, as integrated
    ASSERT_EQ(support::attemptFromRest(vintarrow::ForceLaw({k, Qd, alpha}), m, dt, {0.0, 0.0},
                                       {agSub, 0.0}, vintarrow::kSubsteps, attempt),
              corrections)
        << A;
    Planar h(2);
    const std::vector<double> ag1 = {0.0, A}, ag2 = {0.0, 0.0};
    ASSERT_EQ(vintarrow::newmarkVar(h.u1.data(), h.u2.data(), h.v1.data(), h.v2.data(),
                                    h.a1.data(), h.a2.data(), h.fs1.data(), h.fs2.data(),
                                    ag1.data(), ag2.data(), 2, 2, dt, m, 0.0, k, Qd, alpha, 0.25,
                                    0.5),
              0);
    // Six corrections: the full-length attempt is the step. Seven: it was halved.
    EXPECT_EQ(support::sameBits(h.u1[1], attempt.u[0]), corrections == 6) << A;
    EXPECT_EQ(support::sameBits(h.v1[1], attempt.v[0]), corrections == 6) << A;
  }
}

}  // namespace
