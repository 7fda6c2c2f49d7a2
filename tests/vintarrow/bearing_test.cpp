// Two-component bearing force law: radial return onto the strength circle, its tangent, and the
// cache on the last displacement pair.
#include <gtest/gtest.h>

#include <cmath>

#include "core/numerics/magnitude.h"
#include "vintarrow/newmark_var.h"

namespace {

using vintarrow::Bearing;
using vintarrow::BearingState;

// k = 100, Qd = 9, alpha = 0.1: kh = 90, kd = 10; the circle is reached at a radius of 0.1.
const Bearing kBearing{100.0, 9.0, 0.1};

TEST(lead_rubber2d_bearing, inside_the_circle_both_components_are_elastic) {
  BearingState s = vintarrow::restingBearing(kBearing.k);
  vintarrow::bearingForce(s, kBearing, 0.06, -0.07);  // radius 0.092
  EXPECT_DOUBLE_EQ(s.F1, 100.0 * 0.06);
  EXPECT_DOUBLE_EQ(s.F2, -100.0 * 0.07);
  EXPECT_EQ(s.K11, 100.0);
  EXPECT_EQ(s.K12, 0.0);
  EXPECT_EQ(s.p1T, 0.0);
}

TEST(lead_rubber2d_bearing, outside_the_circle_the_hysteretic_force_is_returned_radially) {
  BearingState s = vintarrow::restingBearing(kBearing.k);
  const double x1 = 0.3, x2 = 0.4;  // radius 0.5, direction (0.6, 0.8)
  vintarrow::bearingForce(s, kBearing, x1, x2);
  EXPECT_NEAR(core::magnitude(s.F1 - 10.0 * x1, s.F2 - 10.0 * x2), 9.0, 1e-12);
  EXPECT_NEAR(s.F1, 10.0 * x1 + 9.0 * 0.6, 1e-12);
  EXPECT_NEAR(s.p1T, 0.4 * 0.6, 1e-12);  // plastic slip of 0.4 along the trial direction
  EXPECT_NEAR(s.p2T, 0.4 * 0.8, 1e-12);
  // Tangent kd·I + (kh·Qd/q)(I − n·nᵀ) with q = 45: stiff across the direction, kd along it.
  const double across = 90.0 * 9.0 / 45.0;
  EXPECT_NEAR(s.K11, 10.0 + across * (1.0 - 0.36), 1e-12);
  EXPECT_NEAR(s.K22, 10.0 + across * (1.0 - 0.64), 1e-12);
  EXPECT_NEAR(s.K12, -across * 0.48, 1e-12);
  EXPECT_EQ(s.K12, s.K21);
  const double along = (s.K11 * 0.6 + s.K12 * 0.8) * 0.6 + (s.K21 * 0.6 + s.K22 * 0.8) * 0.8;
  EXPECT_NEAR(along, 10.0, 1e-12);
}

TEST(lead_rubber2d_bearing, total_change_within_one_epsilon_reuses_the_last_evaluation) {
  BearingState s = vintarrow::restingBearing(kBearing.k);
  vintarrow::bearingForce(s, kBearing, 0.3, 0.4);
  const double F1 = s.F1, K11 = s.K11;
  s.p1C = s.p1T;  // a commit; a fresh evaluation would now be elastic
  s.p2C = s.p2T;
  vintarrow::bearingForce(s, kBearing, 0.3 + 5e-17, 0.4 - 5e-17);
  EXPECT_EQ(s.F1, F1);
  EXPECT_EQ(s.K11, K11);
  vintarrow::bearingForce(s, kBearing, 0.3, 0.4 - 1e-9);
  EXPECT_EQ(s.K11, 100.0);
}

}  // namespace
