// The Morbane gateway: calling forms, the output structure, keyword handling and input errors.
#include "morbane/gateway.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/calls.h"
#include "support/reference.h"

namespace {

using support::Args;

const std::vector<std::string> kFieldNames = {
    "pga",         "mass",        "zeta",     "T",      "f",      "dsp",      "vel",  "acc",
    "totAcc",      "psdVel",      "psdAcc",   "resDsp", "iFrc",   "dFrc",     "rFrc", "yieldDsp",
    "psdYieldVel", "psdYieldAcc", "yieldFrc", "RFact",  "muFact", "gammaFact"};


std::vector<double> record() { return support::testRecord(120, 0.02, 2.0); }

// The nine-input form with the periods as a row, two damping ratios.
Args nineInputs(const char* method, double para) {
  Args args;
  args.add(record()).add(0.02).add(1.5).add(host::row({0.05, 0.1}));
  args.add(host::row({0.7, 1.2, 2.0})).add(0.03).add(0.01).add(method).add(para);
  return args;
}

Args elevenInputs(const char* method, double para, double nT) {
  Args args;
  args.add(record()).add(0.02).add(1.5).add(std::vector<double>{0.05});
  args.add(0.2).add(1.0).add(nT).add(0.03).add(0.01).add(method).add(para);
  return args;
}

host::Outcome morbane(const Args& args, int nlhs = 1) {
  return support::call(morbane::mexFunction, args, nlhs);
}

void expectShape(const host::Outcome& out, const std::string& name, std::size_t rows,
                 std::size_t cols) {
  EXPECT_EQ(out.field(name).rows, rows) << name;
  EXPECT_EQ(out.field(name).cols, cols) << name;
}

TEST(inelasticGateway, nine_inputs_give_the_22_fields_in_order_and_shape) {
  const host::Outcome out = morbane(nineInputs("fy", 3.0));
  ASSERT_TRUE(out.ok) << out.error;
  EXPECT_EQ(out.fieldNames(), kFieldNames);
  expectShape(out, "pga", 1, 1);
  expectShape(out, "mass", 1, 1);
  expectShape(out, "zeta", 1, 2);
  expectShape(out, "T", 1, 3);  // keeps the orientation of the input
  expectShape(out, "f", 3, 1);
  for (std::size_t i = 5; i < kFieldNames.size(); ++i) expectShape(out, kFieldNames[i], 3, 2);
  EXPECT_EQ(out.values("f")[2], 0.5);
}

TEST(inelasticGateway, eleven_inputs_generate_the_periods_as_a_running_sum) {
  const host::Outcome out = morbane(elevenInputs("fy", 0.5, 4.9));
  ASSERT_TRUE(out.ok) << out.error;
  EXPECT_EQ(out.fieldNames(), kFieldNames);
  expectShape(out, "T", 4, 1);
  expectShape(out, "RFact", 4, 1);
  const double step = (1.0 - 0.2) / 3.0;
  const std::vector<double>& T = out.values("T");
  EXPECT_EQ(T[0], 0.2);
  EXPECT_EQ(T[3], step + (step + (step + 0.2)));

  const host::Outcome single = morbane(elevenInputs("fy", 0.5, 1.0));
  ASSERT_TRUE(single.ok) << single.error;
  EXPECT_EQ(single.values("T"), std::vector<double>{0.2});
}

TEST(inelasticGateway, each_keyword_pair_gives_identical_structures) {
  const char* pairs[][2] = {{"yieldStrength", "fy"},
                            {"yieldDisplacement", "uy"},
                            {"strengthReductionFactor", "R"},
                            {"ductilityFactor", "mu"}};
  for (const auto& pair : pairs) {
    const double para = pair[1][0] == 'u' ? 0.01 : 2.0;
    const host::Outcome longName = morbane(nineInputs(pair[0], para));
    const host::Outcome shortName = morbane(nineInputs(pair[1], para));
    ASSERT_TRUE(longName.ok) << pair[0] << ": " << longName.error;
    EXPECT_EQ(support::firstDifference(longName, shortName), "") << pair[0];
  }
}

TEST(inelasticGateway, a_failed_ductility_search_fails_the_call) {
  // An oscillator whose fixed-point search keeps jumping between strengths for 26 trials.
  Args args;
  args.add(support::testRecord(400, 0.02, 3.0)).add(0.02).add(2.0).add(std::vector<double>{0.05});
  args.add(std::vector<double>{0.1}).add(0.02).add(0.0).add("mu").add(4.0);
  const host::Outcome out = morbane(args);
  EXPECT_EQ(out.error, "Morbane::mexFunction - errors encountered during spectra generation\n");
  EXPECT_EQ(out.console.rfind("??? Morbane::getSpectra - failed to converge: mu = ", 0), 0u);
}

}  // namespace
