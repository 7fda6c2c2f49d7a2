// Vintarrow gateway through the project's own host: calling forms, output structure, refused
// inputs, records of different lengths and the one-component limit of the whole spectra.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "pellory/gateway.h"
#include "vintarrow/gateway.h"
#include "support/calls.h"
#include "support/reference.h"

namespace {

using support::Args;

const std::vector<std::string> kFields = {
    "pga", "mass", "Qd", "T", "f",
    "dsp", "vel", "acc", "totAcc", "psdVel", "psdAcc", "resDsp", "iFrc", "dFrc", "rFrc",
    "yieldDsp", "psdYieldVel", "psdYieldAcc", "yieldFrc", "muFact", "RFact", "gammaFact",
    "effT", "effZeta", "effRFact", "effGammaFact"};


host::Outcome vintarrow(const Args& args, int nlhs = 1) {
  return support::call(vintarrow::mexFunction, args, nlhs);
}

std::vector<double> secondComponent(int n) {
  std::vector<double> ag = support::testRecord(n + 7, 0.01, 2.0);
  return std::vector<double>(ag.begin() + 7, ag.end());
}

// ag1, ag2, dt, m, Qd, then T (a row) or Tstart, Tend, nT, then alpha.
Args callArgs(bool generated, host::Value ag1, host::Value ag2,
              host::Value Qd = host::row({0.05, 0.2})) {
  Args args;
  args.add(std::move(ag1)).add(std::move(ag2)).add(0.01).add(1.0).add(std::move(Qd));
  if (generated)
    args.add(0.5).add(2.5).add(3.0);
  else
    args.add(host::row({0.5, 1.5, 2.5}));
  args.add(0.1);
  return args;
}

Args standardArgs(bool generated) {
  return callArgs(generated, host::column(support::testRecord(80, 0.01, 3.0)),
                  host::column(secondComponent(80)));
}

TEST(lead_rubber2d_gateway, both_calling_forms_return_the_twenty_six_fields) {
  for (bool generated : {false, true}) {
    const host::Outcome out = vintarrow(standardArgs(generated));
    ASSERT_TRUE(out.ok) << out.error;
    EXPECT_EQ(out.fieldNames(), kFields);
    EXPECT_EQ(out.field("T").rows, generated ? 3u : 1u);
    EXPECT_EQ(out.field("f").cols, 1u);
    for (std::size_t i = 5; i < kFields.size(); ++i) {
      EXPECT_EQ(out.field(kFields[i]).rows, 3u) << kFields[i];
      EXPECT_EQ(out.field(kFields[i]).cols, 2u) << kFields[i];
    }
    EXPECT_TRUE(out.console.empty());
  }
  EXPECT_EQ(support::firstDifference(vintarrow(standardArgs(false)), vintarrow(standardArgs(true))),
            "T: shapes differ");
}

TEST(lead_rubber2d_gateway, empty_strength_vector_gives_empty_columns) {
  const host::Outcome out =
      vintarrow(callArgs(false, host::column(support::testRecord(40, 0.01)),
                         host::column(secondComponent(40)), host::matrix(0, 0, {})));
  ASSERT_TRUE(out.ok) << out.error;
  for (std::size_t i = 5; i < kFields.size(); ++i) {
    EXPECT_EQ(out.field(kFields[i]).rows, 3u) << kFields[i];
    EXPECT_EQ(out.field(kFields[i]).cols, 0u) << kFields[i];
  }
}

TEST(lead_rubber2d_gateway, records_of_different_lengths_are_cut_to_the_shorter) {
  const std::vector<double> ag1 = support::testRecord(60, 0.01, 3.0);
  const std::vector<double> ag2 = secondComponent(80);
  const std::vector<double> ag2Cut(ag2.begin(), ag2.begin() + 60);
  const host::Outcome longer = vintarrow(callArgs(false, host::column(ag1), host::row(ag2)));
  const host::Outcome cut = vintarrow(callArgs(false, host::column(ag1), host::column(ag2Cut)));
  ASSERT_TRUE(longer.ok) << longer.error;
  EXPECT_EQ(support::firstDifference(longer, cut), "");
}

TEST(lead_rubber2d_gateway, zero_second_component_gives_the_one_component_spectra) {
  const std::vector<double> ag = support::testRecord(150, 0.01, 3.0);
  const host::Outcome planar = vintarrow(
      callArgs(false, host::column(ag), host::column(std::vector<double>(150, 0.0))));
  Args single;
  single.add(ag).add(0.01).add(1.0).add(host::row({0.05, 0.2})).add(host::row({0.5, 1.5, 2.5}));
  single.add(0.1);
  const host::Outcome line = support::call(pellory::mexFunction, single);
  ASSERT_TRUE(planar.ok && line.ok) << planar.error << line.error;
  for (std::size_t i = 0; i < kFields.size(); ++i) {
    const std::vector<double>& x = planar.values(kFields[i]);
    const std::vector<double>& y = line.values(kFields[i]);
    ASSERT_EQ(x.size(), y.size());
    for (std::size_t e = 0; e < x.size(); ++e)
      EXPECT_NEAR(x[e], y[e], 1e-6 * std::fabs(y[e])) << kFields[i] << "[" << e << "]";
  }
}

}  // namespace
