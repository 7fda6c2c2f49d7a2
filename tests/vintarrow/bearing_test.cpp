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
  vintarrow::ForceLaw law(kBearing);
  BearingState& s = law.state;
  law.evaluate({0.06, -0.07});  // radius 0.092
  EXPECT_DOUBLE_EQ(s.frcT[0], 100.0 * 0.06);
  EXPECT_DOUBLE_EQ(s.frcT[1], -100.0 * 0.07);
  EXPECT_EQ(s.stiffT[0][0], 100.0);
  EXPECT_EQ(s.stiffT[0][1], 0.0);
  EXPECT_EQ(s.dspPlasticT[0], 0.0);
}

TEST(lead_rubber2d_bearing, outside_the_circle_the_hysteretic_force_is_returned_radially) {
  vintarrow::ForceLaw law(kBearing);
  BearingState& s = law.state;
  const double x1 = 0.3, x2 = 0.4;  // radius 0.5, direction (0.6, 0.8)
  law.evaluate({x1, x2});
  EXPECT_NEAR(core::magnitude(s.frcT[0] - 10.0 * x1, s.frcT[1] - 10.0 * x2), 9.0, 1e-12);
  EXPECT_NEAR(s.frcT[0], 10.0 * x1 + 9.0 * 0.6, 1e-12);
  EXPECT_NEAR(s.dspPlasticT[0], 0.4 * 0.6, 1e-12);  // plastic slip of 0.4 along the trial direction
  EXPECT_NEAR(s.dspPlasticT[1], 0.4 * 0.8, 1e-12);
  // Tangent kd·I + (kh·Qd/q)(I − n·nᵀ) with q = 45: stiff across the direction, kd along it.
  const double across = 90.0 * 9.0 / 45.0;
  EXPECT_NEAR(s.stiffT[0][0], 10.0 + across * (1.0 - 0.36), 1e-12);
  EXPECT_NEAR(s.stiffT[1][1], 10.0 + across * (1.0 - 0.64), 1e-12);
  EXPECT_NEAR(s.stiffT[0][1], -across * 0.48, 1e-12);
  EXPECT_EQ(s.stiffT[0][1], s.stiffT[1][0]);
  const double along = (s.stiffT[0][0] * 0.6 + s.stiffT[0][1] * 0.8) * 0.6 + (s.stiffT[1][0] * 0.6 + s.stiffT[1][1] * 0.8) * 0.8;
  EXPECT_NEAR(along, 10.0, 1e-12);
}

TEST(lead_rubber2d_bearing, total_change_within_one_epsilon_reuses_the_last_evaluation) {
  vintarrow::ForceLaw law(kBearing);
  BearingState& s = law.state;
  law.evaluate({0.3, 0.4});
  const double F1 = s.frcT[0], K11 = s.stiffT[0][0];
  s.dspPlasticC[0] = s.dspPlasticT[0];  // a commit; a fresh evaluation would now be elastic
  s.dspPlasticC[1] = s.dspPlasticT[1];
  law.evaluate({0.3 + 5e-17, 0.4 - 5e-17});
  EXPECT_EQ(s.frcT[0], F1);
  EXPECT_EQ(s.stiffT[0][0], K11);
  law.evaluate({0.3, 0.4 - 1e-9});
  EXPECT_EQ(s.stiffT[0][0], 100.0);
}

}  // namespace
