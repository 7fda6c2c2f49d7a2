// Quorvel gateway through the project's own host: calling forms, output structure, errors.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "quorvel/gateway.h"
#include "support/calls.h"
#include "support/reference.h"

namespace {

using support::Args;

const std::vector<std::string> kFields = {"pga",    "mass",   "zeta", "T",    "f",
                                          "dsp",    "vel",    "acc",  "totAcc", "psdVel",
                                          "psdAcc", "resDsp", "iFrc", "dFrc", "rFrc"};

Args baseArgs(int nInputs) {
  Args args;
  args.add(support::testRecord(120, 0.01)).add(0.01).add(1.0).add(host::row({0.02, 0.05}));
  if (nInputs <= 6)
    args.add(host::row({0.1, 0.5, 1.0}));
  else
    args.add(0.1).add(1.0).add(3.0);
  return args;
}

host::Outcome quorvel(const Args& args, int nlhs = 1) {
  return support::call(quorvel::mexFunction, args, nlhs);
}


TEST(QuorvelGateway, four_calling_forms_return_the_fifteen_fields) {
  for (int n : {5, 6, 7, 8}) {
    Args args = baseArgs(n);
    if (n == 6 || n == 8) args.add("newmark");
    const host::Outcome out = quorvel(args);
    ASSERT_TRUE(out.ok) << n << ": " << out.error;
    EXPECT_EQ(out.fieldNames(), kFields);
    EXPECT_EQ(out.field("pga").rows, 1u);
    EXPECT_EQ(out.field("zeta").rows, 1u);  // echoes keep the input's shape
    EXPECT_EQ(out.field("zeta").cols, 2u);
    EXPECT_EQ(out.field("T").rows, n <= 6 ? 1u : 3u);  // a given row stays a row
    EXPECT_EQ(out.field("f").rows, 3u);
    EXPECT_EQ(out.field("f").cols, 1u);
    EXPECT_EQ(out.field("dsp").rows, 3u);
    EXPECT_EQ(out.field("dsp").cols, 2u);
    EXPECT_TRUE(out.console.empty());
  }
}

TEST(QuorvelGateway, default_method_is_recform_and_newmark_differs) {
  Args explicitRecform = baseArgs(5);
  explicitRecform.add("recform");
  Args withNewmark = baseArgs(5);
  withNewmark.add("newmark");
  const host::Outcome byDefault = quorvel(baseArgs(5));
  EXPECT_EQ(support::firstDifference(byDefault, quorvel(explicitRecform)), "");
  EXPECT_NE(support::firstDifference(byDefault, quorvel(withNewmark)), "");
}

TEST(QuorvelGateway, generated_periods_are_a_running_sum) {
  Args args;
  args.add(support::testRecord(50, 0.01)).add(0.01).add(1.0).add(0.05).add(0.1).add(3.0).add(30.0);
  const host::Outcome out = quorvel(args);
  ASSERT_TRUE(out.ok) << out.error;
  const std::vector<double>& T = out.values("T");
  ASSERT_EQ(T.size(), 30u);
  double running = 0.1;
  const double step = (3.0 - 0.1) / 29.0;
  for (int i = 1; i < 30; ++i) running = step + running;
  EXPECT_TRUE(support::sameBits(T.back(), running));
  EXPECT_EQ(out.values("f")[29], 1.0 / running);
}

TEST(QuorvelGateway, period_count_is_truncated_and_one_period_is_tstart) {
  Args truncated;
  truncated.add(support::testRecord(50, 0.01)).add(0.01).add(1.0).add(0.05).add(0.2).add(2.0).add(10.9);
  EXPECT_EQ(quorvel(truncated).values("T").size(), 10u);
  Args single;
  single.add(support::testRecord(50, 0.01)).add(0.01).add(1.0).add(0.05).add(0.2).add(2.0).add(1.0);
  EXPECT_EQ(quorvel(single).values("T"), std::vector<double>{0.2});
}

TEST(QuorvelGateway, row_and_column_records_give_the_same_spectra) {
  const std::vector<double> ag = support::testRecord(80, 0.01);
  Args column, row;
  column.add(host::column(ag)).add(0.01).add(2.0).add(0.05).add(host::column({0.3, 0.9}));
  row.add(host::row(ag)).add(0.01).add(2.0).add(0.05).add(host::column({0.3, 0.9}));
  EXPECT_EQ(support::firstDifference(quorvel(column), quorvel(row)), "");
}

}  // namespace
