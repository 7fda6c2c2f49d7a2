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

const std::string kUsage =
    "Morbane::mexFunction - wrong number of arguments received\n"
    "expecting: spectra = Morbane(ag,dt,m,zeta,T,kin,iso,method,para);\n";

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

TEST(inelasticGateway, argument_counts_outside_the_two_forms_are_refused) {
  EXPECT_EQ(morbane(nineInputs("fy", 1.0), 0).error, kUsage);
  EXPECT_EQ(morbane(nineInputs("fy", 1.0), 2).error, kUsage);
  Args ten = nineInputs("fy", 1.0);
  ten.add(1.0);
  EXPECT_EQ(morbane(ten).error, kUsage);
  Args none;
  EXPECT_EQ(morbane(none).error, kUsage);
}

TEST(inelasticGateway, only_the_eight_keywords_are_accepted_and_no_output_is_created) {
  const std::string invalid =
      "Morbane::mexFunction - invalid time domain analysis method received\n";
  const std::string longText(5000, 'R');
  for (const char* method :
       {"Fy", "MU", "r", "", "strengthReductionFactorX", "yield", longText.c_str(), "recform"}) {
    const host::Outcome out = morbane(nineInputs(method, 1.0));
    EXPECT_EQ(out.error, invalid) << method;
    EXPECT_TRUE(out.arena.empty()) << method;
  }
}

TEST(inelasticGateway, malformed_inputs_are_refused_before_any_output_exists) {
  struct Bad {
    int position;
    host::Value value;
    const char* error;
  };
  std::vector<Bad> cases;
  cases.push_back({0, host::matrix(0, 0, {}), "ag must have at least one element"});
  cases.push_back({0, host::matrix(1, 0, {}), "ag must have at least one element"});
  cases.push_back({3, host::matrix(0, 0, {}), "zeta must have at least one element"});
  cases.push_back({4, host::matrix(0, 1, {}), "T must have at least one element"});
  cases.push_back({1, host::matrix(0, 0, {}), "dt must be a real double scalar"});
  cases.push_back(
      {5, host::ofClass(mxArray::Class::Single, 1, 1), "kin must be a real double scalar"});
  cases.push_back(
      {6, host::ofClass(mxArray::Class::Int32, 1, 1), "iso must be a real double scalar"});
  cases.push_back({7, host::scalar(1.0), "method must be text"});
  cases.push_back({8, host::text("2"), "para must be a real double scalar"});
  for (Bad& bad : cases) {
    std::vector<const mxArray*> inputs = nineInputs("R", 2.0).pointers();
    Args keep = nineInputs("R", 2.0);
    inputs = keep.pointers();
    inputs[static_cast<std::size_t>(bad.position)] = bad.value.get();
    const host::Outcome out = host::call(morbane::mexFunction, 1, inputs);
    EXPECT_EQ(out.error, std::string("Morbane::mexFunction - ") + bad.error + "\n");
    EXPECT_TRUE(out.arena.empty()) << bad.error;
  }
  Args complexAg;
  host::Value ag = host::column(record());
  ag->complex = true;
  complexAg.add(std::move(ag)).add(0.02).add(1.0).add(0.05).add(1.0).add(0.0).add(0.0);
  complexAg.add("fy").add(1.0);
  EXPECT_EQ(morbane(complexAg).error, "Morbane::mexFunction - ag must be a real double vector\n");

  const host::Outcome noPeriods = morbane(elevenInputs("fy", 1.0, 0.5));
  EXPECT_EQ(noPeriods.error, "Morbane::mexFunction - nT must be at least 1\n");
  EXPECT_TRUE(noPeriods.arena.empty());
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
