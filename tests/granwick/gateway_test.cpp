// Granwick gateway through the project's own host: calling forms, output structure, errors.
#include "granwick/gateway.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/calls.h"
#include "support/reference.h"

namespace {

using support::Args;

const std::vector<std::string> kFields = {
    "pga",       "mass",     "frn",         "T",           "f",           "dsp",    "vel",
    "acc",       "totAcc",   "psdVel",      "psdAcc",      "resDsp",      "iFrc",   "dFrc",
    "rFrc",      "yieldDsp", "psdYieldVel", "psdYieldAcc", "yieldFrc",    "muFact", "RFact",
    "gammaFact", "effT",     "effZeta",     "effRFact",    "effGammaFact"};


// The eight- or ten-input form.
Args baseArgs(int nInputs, host::Value frn = host::row({0.03, 0.06})) {
  Args args;
  args.add(support::testRecord(120, 0.01, 3.0)).add(support::testRecord(100, 0.01, -2.0));
  args.add(0.01).add(1.5).add(9.81).add(std::move(frn));
  if (nInputs == 8)
    args.add(host::row({0.5, 1.5, 3.0}));
  else
    args.add(0.5).add(3.0).add(3.0);
  args.add(0.005);
  return args;
}

host::Outcome granwick(const Args& args, int nlhs = 1) {
  return support::call(granwick::mexFunction, args, nlhs);
}

TEST(GranwickGateway, both_calling_forms_return_the_twenty_six_fields) {
  for (int n : {8, 10}) {
    const host::Outcome out = granwick(baseArgs(n));
    ASSERT_TRUE(out.ok) << n << ": " << out.error;
    EXPECT_EQ(out.fieldNames(), kFields);
    EXPECT_EQ(out.field("frn").rows, 1u);  // echoes keep the input's shape
    EXPECT_EQ(out.field("frn").cols, 2u);
    EXPECT_EQ(out.field("T").rows, n == 8 ? 1u : 3u);
    EXPECT_EQ(out.field("f").rows, 3u);
    EXPECT_EQ(out.field("f").cols, 1u);
    EXPECT_EQ(out.field("effGammaFact").rows, 3u);
    EXPECT_EQ(out.field("effGammaFact").cols, 2u);
    EXPECT_EQ(out.values("yieldDsp")[4], 0.005);
    EXPECT_TRUE(out.console.empty());
  }
  // Generated periods are a running sum from Tstart; here they are exactly the given ones.
  EXPECT_EQ(support::firstDifference(granwick(baseArgs(8)), granwick(baseArgs(10))),
            "T: shapes differ");
}

TEST(GranwickGateway, empty_friction_list_gives_empty_matrices) {
  const host::Outcome out = granwick(baseArgs(8, host::matrix(0, 0, {})));
  ASSERT_TRUE(out.ok) << out.error;
  EXPECT_EQ(out.field("dsp").rows, 3u);
  EXPECT_EQ(out.field("dsp").cols, 0u);
  EXPECT_EQ(out.values("f").size(), 3u);
  EXPECT_GT(out.values("pga")[0], 0.0);
}

}  // namespace
