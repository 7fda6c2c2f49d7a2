// The friction-pendulum force law: sticking, sliding, unloading and its displacement cache.
#include <gtest/gtest.h>

#include <limits>

#include "tillock/newmark_var.h"

namespace {

using tillock::Bearing;
using tillock::BearingState;
using tillock::ForceLaw;

// W = 100, frn = 0.1: sliding force 10; kp = 2, k1 = 12, so the bearing slides beyond x = 1.
const Bearing kBearing{100.0, 0.1, 12.0, 2.0};

TEST(friction_pendulum_bearing, sticks_with_initial_stiffness_within_the_pre_sliding_range) {
  ForceLaw law(kBearing);
  BearingState& state = law.state;
  for (double x : {0.25, -0.5, 1.0, -1.0}) {
    law.evaluate({x});
    EXPECT_DOUBLE_EQ(state.frcT[0], 12.0 * x) << x;
    EXPECT_EQ(state.stiffT[0][0], 12.0);
  }
  EXPECT_EQ(state.dspPlasticT[0], 0.0);
}

TEST(friction_pendulum_bearing, slides_at_the_friction_force_plus_the_pendulum_force) {
  ForceLaw law(kBearing);
  BearingState& state = law.state;
  law.evaluate({3.0});
  EXPECT_DOUBLE_EQ(state.frcT[0], 10.0 + 2.0 * 3.0);
  EXPECT_EQ(state.stiffT[0][0], 2.0);
  EXPECT_DOUBLE_EQ(state.dspPlasticT[0], 2.0);  // the friction element carries 10 = (3 − 2)·10
  law.evaluate({-3.0});
  EXPECT_DOUBLE_EQ(state.frcT[0], -10.0 - 6.0);
  EXPECT_DOUBLE_EQ(state.dspPlasticT[0], -2.0);
}

TEST(friction_pendulum_bearing, unloads_elastically_from_the_committed_sliding_displacement) {
  ForceLaw law(kBearing);
  BearingState& state = law.state;
  law.evaluate({3.0});
  state.dspPlasticC[0] = state.dspPlasticT[0];
  law.evaluate({2.5});  // back by 0.5: friction force 5, pendulum 5
  EXPECT_DOUBLE_EQ(state.frcT[0], 10.0);
  EXPECT_EQ(state.stiffT[0][0], 12.0);
  // Reversing by more than twice the pre-sliding range slides the other way.
  law.evaluate({0.5});
  EXPECT_DOUBLE_EQ(state.frcT[0], -10.0 + 1.0);
  EXPECT_DOUBLE_EQ(state.dspPlasticT[0], 1.5);
}

TEST(friction_pendulum_bearing, trial_sliding_is_not_committed_by_evaluation_alone) {
  ForceLaw law(kBearing);
  BearingState& state = law.state;
  law.evaluate({3.0});
  law.evaluate({0.5});  // judged from the committed state: sticking
  EXPECT_DOUBLE_EQ(state.frcT[0], 12.0 * 0.5);
  EXPECT_EQ(state.dspPlasticC[0], 0.0);
  EXPECT_DOUBLE_EQ(state.dspPlasticT[0], 2.0);  // kept from the last sliding evaluation
}

TEST(friction_pendulum_bearing, displacement_cache_keeps_force_within_machine_epsilon) {
  ForceLaw law(kBearing);
  BearingState& state = law.state;
  law.evaluate({3.0});
  const double force = state.frcT[0];
  state.dspPlasticC[0] = 1.0;  // a commit in between does not force a re-evaluation
  law.evaluate({3.0 + 1e-16});
  EXPECT_EQ(state.frcT[0], force);
  EXPECT_EQ(state.dspT[0], 3.0);
  // A NaN displacement never passes the test either.
  law.evaluate({std::numeric_limits<double>::quiet_NaN()});
  EXPECT_EQ(state.frcT[0], force);
}

TEST(friction_pendulum_bearing, without_friction_is_a_linear_pendulum) {
  const Bearing pendulum{100.0, 0.0, 2.0, 2.0};
  ForceLaw law(pendulum);
  BearingState& state = law.state;
  for (double x : {0.5, -4.0, 7.0}) {
    law.evaluate({x});
    state.dspPlasticC[0] = state.dspPlasticT[0];
    EXPECT_EQ(state.frcT[0], 2.0 * x);
    EXPECT_EQ(state.stiffT[0][0], 2.0);
  }
}

}  // namespace
