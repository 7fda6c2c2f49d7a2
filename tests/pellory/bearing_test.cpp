// Lead-rubber-bearing force law: the bilinear envelope, the trial plastic displacement and the
// cache on the last displacement.
#include <gtest/gtest.h>

#include "pellory/newmark_var.h"

namespace {

using pellory::Bearing;
using pellory::BearingState;

struct Evaluation {
  double F, Kt;
};

Evaluation at(BearingState& state, const Bearing& bearing, double x) {
  Evaluation e{};
  pellory::bearingForce(state, bearing, x, &e.F, &e.Kt);
  return e;
}

// k = 100, Qd = 9, alpha = 0.1: kh = 90, so the elastic-plastic part yields at 0.1.
const Bearing kBearing{100.0, 9.0, 0.1};

TEST(lead_rubber_bearing, elastic_below_yield_and_capped_beyond) {
  BearingState state = pellory::restingBearing(kBearing.k);
  const Evaluation elastic = at(state, kBearing, 0.05);
  EXPECT_DOUBLE_EQ(elastic.F, 100.0 * 0.05);
  EXPECT_EQ(elastic.Kt, 100.0);
  const Evaluation yielded = at(state, kBearing, 0.3);
  EXPECT_DOUBLE_EQ(yielded.F, 10.0 * 0.3 + 9.0);
  EXPECT_DOUBLE_EQ(yielded.Kt, 10.0);
  EXPECT_DOUBLE_EQ(state.dspPlasticT, 0.2);
  const Evaluation negative = at(state, kBearing, -0.3);
  EXPECT_DOUBLE_EQ(negative.F, -(10.0 * 0.3 + 9.0));
  EXPECT_DOUBLE_EQ(state.dspPlasticT, -0.2);
  EXPECT_EQ(state.dspPlasticC, 0.0);  // evaluations never commit
}

TEST(lead_rubber_bearing, elastic_evaluation_keeps_an_earlier_trial_plastic_displacement) {
  BearingState state = pellory::restingBearing(kBearing.k);
  at(state, kBearing, 0.3);
  at(state, kBearing, 0.02);  // back inside the elastic range of the committed state
  EXPECT_DOUBLE_EQ(state.dspPlasticT, 0.2);
}

TEST(lead_rubber_bearing, displacement_within_one_epsilon_reuses_the_last_evaluation) {
  BearingState state = pellory::restingBearing(kBearing.k);
  // At rest the cache holds force 0 and the elastic tangent.
  const Evaluation first = at(state, kBearing, 1e-17);
  EXPECT_EQ(first.F, 0.0);
  EXPECT_EQ(first.Kt, 100.0);
  EXPECT_EQ(state.dspT, 0.0);

  const Evaluation yielded = at(state, kBearing, 0.3);
  state.dspPlasticC = state.dspPlasticT;  // commit: the fresh law at 0.3 would be elastic
  const Evaluation cached = at(state, kBearing, 0.3 + 2e-17);
  EXPECT_EQ(cached.F, yielded.F);
  EXPECT_EQ(cached.Kt, 10.0);  // the post-yield tangent of the evaluation before the commit
  const Evaluation fresh = at(state, kBearing, 0.29);
  EXPECT_EQ(fresh.Kt, 100.0);
  EXPECT_DOUBLE_EQ(fresh.F, 10.0 * 0.29 + 90.0 * (0.29 - 0.2));
}

TEST(lead_rubber_bearing, zero_strength_leaves_only_the_linear_spring) {
  const Bearing noStrength{100.0, 0.0, 0.1};
  BearingState state = pellory::restingBearing(noStrength.k);
  for (double x : {0.5, -0.25, 1e-3}) {
    const Evaluation e = at(state, noStrength, x);
    EXPECT_EQ(e.F, 10.0 * x) << x;
    EXPECT_EQ(e.Kt, 10.0);
    EXPECT_EQ(state.dspPlasticT, x);
  }
}

}  // namespace
