// Daskent gateway through the project's own host: calling forms, output structure, errors.
#include "daskent/gateway.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/calls.h"
#include "support/reference.h"

namespace {

using support::Args;

const std::vector<std::string> kFields = {"pga",    "mass",   "zeta", "T",      "f",
                                          "dsp",    "vel",    "acc",  "totAcc", "psdVel",
                                          "psdAcc", "resDsp", "iFrc", "dFrc",   "rFrc"};


// The six- or eight-input form (a method keyword may be added).
Args baseArgs(int nInputs) {
  Args args;
  args.add(support::testRecord(120, 0.01)).add(support::testRecord(100, 0.01, 0.5));
  args.add(0.01).add(1.0).add(host::row({0.02, 0.05}));
  if (nInputs <= 7)
    args.add(host::row({0.1, 0.5, 1.0}));
  else
    args.add(0.1).add(1.0).add(3.0);
  return args;
}

host::Outcome daskent(const Args& args, int nlhs = 1) {
  return support::call(daskent::mexFunction, args, nlhs);
}

TEST(DaskentGateway, four_calling_forms_return_the_fifteen_fields) {
  for (int n : {6, 7, 8, 9}) {
    Args args = baseArgs(n);
    if (n == 7 || n == 9) args.add("newmark");
    const host::Outcome out = daskent(args);
    ASSERT_TRUE(out.ok) << n << ": " << out.error;
    EXPECT_EQ(out.fieldNames(), kFields);
    EXPECT_EQ(out.field("pga").rows * out.field("pga").cols, 1u);
    EXPECT_EQ(out.field("zeta").rows, 1u);  // echoes keep the input's shape
    EXPECT_EQ(out.field("zeta").cols, 2u);
    EXPECT_EQ(out.field("T").rows, n <= 7 ? 1u : 3u);  // a given row stays a row
    EXPECT_EQ(out.field("f").rows, 3u);
    EXPECT_EQ(out.field("f").cols, 1u);
    EXPECT_EQ(out.field("rFrc").rows, 3u);
    EXPECT_EQ(out.field("rFrc").cols, 2u);
    EXPECT_GT(out.values("dsp")[5], 0.0);
    EXPECT_TRUE(out.console.empty());
  }
}

TEST(DaskentGateway, default_method_is_recform_and_newmark_differs) {
  Args recform = baseArgs(6);
  recform.add("recform");
  Args newmark = baseArgs(8);
  newmark.add("newmark");
  EXPECT_EQ(support::firstDifference(daskent(baseArgs(6)), daskent(recform)), "");
  EXPECT_NE(support::firstDifference(daskent(baseArgs(8)), daskent(newmark)), "");
}

TEST(DaskentGateway, generated_periods_are_a_running_sum_from_tstart) {
  const host::Outcome out = daskent(baseArgs(8));
  ASSERT_TRUE(out.ok) << out.error;
  const double step = (1.0 - 0.1) / 2.0;  // Tstart 0.1, Tend 1.0, nT 3
  EXPECT_EQ(out.values("T"), (std::vector<double>{0.1, step + 0.1, step + (step + 0.1)}));
  Args truncated = baseArgs(6);
  std::vector<const mxArray*> inputs = truncated.pointers();
  host::Value count = host::scalar(1.9);
  host::Value start = host::scalar(0.4);
  inputs.pop_back();
  inputs.push_back(start.get());
  inputs.push_back(start.get());
  inputs.push_back(count.get());
  EXPECT_EQ(host::call(daskent::mexFunction, 1, inputs).values("T"), std::vector<double>{0.4});
}

TEST(DaskentGateway, row_first_component_with_column_second_is_accepted) {
  const std::vector<double> ag1 = support::testRecord(90, 0.01);
  const std::vector<double> ag2 = support::testRecord(90, 0.01, 0.4);
  Args mixed, columns;
  mixed.add(host::row(ag1)).add(host::column(ag2)).add(0.01).add(1.0).add(0.05).add(0.5);
  columns.add(host::column(ag1)).add(host::column(ag2)).add(0.01).add(1.0).add(0.05).add(0.5);
  const host::Outcome out = daskent(mixed);
  ASSERT_TRUE(out.ok) << out.error;
  EXPECT_EQ(support::firstDifference(out, daskent(columns)), "");
}

}  // namespace
