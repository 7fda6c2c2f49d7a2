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

Evaluation at(pellory::ForceLaw& law, double x) {
  law.evaluate({x});
  return {law.force(0), law.tangent(0, 0)};
}

// k = 100, Qd = 9, alpha = 0.1: kh = 90, so the elastic-plastic part yields at 0.1.
const Bearing kBearing{100.0, 9.0, 0.1};

TEST(lead_rubber_bearing, elastic_below_yield_and_capped_beyond) {
  pellory::ForceLaw law(kBearing);
  BearingState& state = law.state;
  const Evaluation elastic = at(law, 0.05);
  EXPECT_DOUBLE_EQ(elastic.F, 100.0 * 0.05);
  EXPECT_EQ(elastic.Kt, 100.0);
  const Evaluation yielded = at(law, 0.3);
  EXPECT_DOUBLE_EQ(yielded.F, 10.0 * 0.3 + 9.0);
  EXPECT_DOUBLE_EQ(yielded.Kt, 10.0);
  EXPECT_DOUBLE_EQ(state.dspPlasticT[0], 0.2);
  const Evaluation negative = at(law, -0.3);
  EXPECT_DOUBLE_EQ(negative.F, -(10.0 * 0.3 + 9.0));
  EXPECT_DOUBLE_EQ(state.dspPlasticT[0], -0.2);
  EXPECT_EQ(state.dspPlasticC[0], 0.0);  // evaluations never commit
}

TEST(lead_rubber_bearing, elastic_evaluation_keeps_an_earlier_trial_plastic_displacement) {
  pellory::ForceLaw law(kBearing);
  BearingState& state = law.state;
  at(law, 0.3);
  at(law, 0.02);  // back inside the elastic range of the committed state
  EXPECT_DOUBLE_EQ(state.dspPlasticT[0], 0.2);
}

TEST(lead_rubber_bearing, displacement_within_one_epsilon_reuses_the_last_evaluation) {
  pellory::ForceLaw law(kBearing);
  BearingState& state = law.state;
  // At rest the cache holds force 0 and the elastic tangent.
  const Evaluation first = at(law, 1e-17);
  EXPECT_EQ(first.F, 0.0);
  EXPECT_EQ(first.Kt, 100.0);
  EXPECT_EQ(state.dspT[0], 0.0);

  const Evaluation yielded = at(law, 0.3);
  state.dspPlasticC[0] = state.dspPlasticT[0];  // commit: the fresh law at 0.3 would be elastic
  const Evaluation cached = at(law, 0.3 + 2e-17);
  EXPECT_EQ(cached.F, yielded.F);
  EXPECT_EQ(cached.Kt, 10.0);  // the post-yield tangent of the evaluation before the commit
  const Evaluation fresh = at(law, 0.29);
  EXPECT_EQ(fresh.Kt, 100.0);
  EXPECT_DOUBLE_EQ(fresh.F, 10.0 * 0.29 + 90.0 * (0.29 - 0.2));
}

TEST(lead_rubber_bearing, zero_strength_leaves_only_the_linear_spring) {
  const Bearing noStrength{100.0, 0.0, 0.1};
  pellory::ForceLaw law(noStrength);
  BearingState& state = law.state;
  for (double x : {0.5, -0.25, 1e-3}) {
    const Evaluation e = at(law, x);
    EXPECT_EQ(e.F, 10.0 * x) << x;
    EXPECT_EQ(e.Kt, 10.0);
    EXPECT_EQ(state.dspPlasticT[0], x);
  }
}

}  // namespace
