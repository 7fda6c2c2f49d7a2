// Pellory gateway through the project's own host: calling forms, output structure, the refused
// inputs and a pair that does not converge.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <string>
#include <vector>

#include "pellory/gateway.h"
#include "support/calls.h"
#include "support/reference.h"

namespace {

using support::Args;

const std::vector<std::string> kFields = {
    "pga", "mass", "Qd", "T", "f",
    "dsp", "vel", "acc", "totAcc", "psdVel", "psdAcc", "resDsp", "iFrc", "dFrc", "rFrc",
    "yieldDsp", "psdYieldVel", "psdYieldAcc", "yieldFrc", "muFact", "RFact", "gammaFact",
    "effT", "effZeta", "effRFact", "effGammaFact"};


host::Outcome pellory(const Args& args, int nlhs = 1) {
  return support::call(pellory::mexFunction, args, nlhs);
}

// ag, dt, m, Qd (a row of two), then T as a row of three or Tstart, Tend, nT; alpha last.
Args callArgs(bool generated, host::Value Qd = host::row({0.05, 0.2}), double alpha = 0.1) {
  Args args;
  args.add(support::testRecord(80, 0.01, 3.0)).add(0.01).add(1.0).add(std::move(Qd));
  if (generated)
    args.add(0.5).add(2.5).add(3.0);
  else
    args.add(host::row({0.5, 1.5, 2.5}));
  args.add(alpha);
  return args;
}

TEST(lead_rubber_gateway, both_calling_forms_return_the_twenty_six_fields) {
  for (bool generated : {false, true}) {
    const host::Outcome out = pellory(callArgs(generated));
    ASSERT_TRUE(out.ok) << out.error;
    EXPECT_EQ(out.fieldNames(), kFields);
    EXPECT_EQ(out.field("T").rows, generated ? 3u : 1u);  // a given row stays a row
    EXPECT_EQ(out.field("f").rows, 3u);
    EXPECT_EQ(out.field("f").cols, 1u);
    EXPECT_EQ(out.field("Qd").cols, 2u);
    for (std::size_t i = 5; i < kFields.size(); ++i) {
      EXPECT_EQ(out.field(kFields[i]).rows, 3u) << kFields[i];
      EXPECT_EQ(out.field(kFields[i]).cols, 2u) << kFields[i];
    }
    EXPECT_TRUE(out.console.empty());
  }
  // The generated periods 0.5, 1.5, 2.5 are exact, so both forms compute the same spectra.
  const host::Outcome given = pellory(callArgs(false));
  const host::Outcome generated = pellory(callArgs(true));
  EXPECT_EQ(given.values("dsp"), generated.values("dsp"));
  EXPECT_EQ(given.values("effZeta"), generated.values("effZeta"));
}

TEST(lead_rubber_gateway, empty_strength_vector_gives_empty_columns) {
  const host::Outcome out = pellory(callArgs(false, host::matrix(0, 0, {})));
  ASSERT_TRUE(out.ok) << out.error;
  EXPECT_GT(out.values("pga")[0], 0.0);
  EXPECT_EQ(out.values("f"), (std::vector<double>{2.0, 1.0 / 1.5, 0.4}));
  for (std::size_t i = 5; i < kFields.size(); ++i) {
    EXPECT_EQ(out.field(kFields[i]).rows, 3u) << kFields[i];
    EXPECT_EQ(out.field(kFields[i]).cols, 0u) << kFields[i];
  }
}


TEST(lead_rubber_gateway, stiffness_ratio_ends_give_infinities_and_nan_not_errors) {
  // alpha = 0: a rigid elastic branch; the histories are NaN, which never becomes a peak.
  const host::Outcome rigid = pellory(callArgs(false, host::row({0.05, 0.2}), 0.0));
  ASSERT_TRUE(rigid.ok) << rigid.error;
  EXPECT_EQ(rigid.values("dsp")[0], 0.0);
  EXPECT_TRUE(std::isnan(rigid.values("resDsp")[0]));
  EXPECT_TRUE(std::isnan(rigid.values("muFact")[0]));
  EXPECT_EQ(rigid.values("yieldFrc")[0], 0.05);
  // alpha = 1: no elastic-plastic part, an infinitely strong linear bearing.
  const host::Outcome linear = pellory(callArgs(false, host::row({0.05, 0.2}), 1.0));
  ASSERT_TRUE(linear.ok) << linear.error;
  EXPECT_GT(linear.values("dsp")[0], 0.0);
  EXPECT_TRUE(std::isinf(linear.values("yieldFrc")[0]));
  EXPECT_EQ(linear.values("muFact")[0], 0.0);
  EXPECT_EQ(linear.values("effZeta")[0], 0.0);
  EXPECT_EQ(linear.values("dsp")[0], linear.values("dsp")[3]);  // the strength plays no part
}

TEST(lead_rubber_gateway, a_pair_that_does_not_converge_stays_zero_and_the_call_succeeds) {
  // At this scale the rounding noise of the residual alone exceeds the convergence bound for
  // the longer periods, down to the shortest sub-step.
  const double scale = 1e20;
  std::vector<double> ag(100);
  for (int i = 0; i < 100; ++i)
    ag[i] = scale * std::sin(2.0 * M_PI * 1.3 * i * 0.01) * std::exp(-i * 0.01);
  Args args;
  args.add(ag).add(0.01).add(1.0).add(host::row({scale * 0.05}));
  args.add(host::row({0.05, 2.0})).add(0.1);
  const host::Outcome out = pellory(args);
  ASSERT_TRUE(out.ok) << out.error;
  EXPECT_NE(out.console.find("??? Pellory::newmarkVar - failed to converge: dtSub = 0.000000\n"),
            std::string::npos);
  EXPECT_GT(out.values("dsp")[0], 0.0);
  for (std::size_t i = 5; i < kFields.size(); ++i)
    EXPECT_EQ(out.values(kFields[i])[1], 0.0) << kFields[i];
  EXPECT_GT(out.values("f")[1], 0.0);
}

}  // namespace
