// The Tillock gateways of both variants: argument counts, input checks, field lists, shapes, and
// a failed pair reported on the console while the call succeeds.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tillock/gateway.h"
#include "tillock/gateway_weight.h"
#include "support/calls.h"
#include "support/reference.h"

namespace {

using support::Args;

const std::vector<std::string> kMassFields = {
    "pga",     "mass",   "frn",      "T",           "f",           "dsp",      "vel",
    "acc",     "totAcc", "psdVel",   "psdAcc",      "resDsp",      "iFrc",     "dFrc",
    "rFrc",    "yieldDsp", "psdYieldVel", "psdYieldAcc", "yieldFrc", "muFact", "RFact",
    "gammaFact", "effT", "effZeta",  "effRFact",    "effGammaFact"};
const std::vector<std::string> kWeightFields = {
    "pga",    "W",      "frn",    "T",        "f",           "dsp",         "vel",      "acc",
    "totAcc", "psdVel", "psdAcc", "resDsp",   "iFrc",        "dFrc",        "rFrc",     "yieldDsp",
    "psdYieldVel", "psdYieldAcc", "yieldFrc", "RFact", "muFact", "gammaFact"};


std::vector<double> record() { return support::testRecord(120, 0.01, 150.0); }

// ag, dt, m, g, frn (a row), then the period inputs, then uy.
Args massArgs(host::Value frn, std::vector<host::Value> periods) {
  Args args;
  args.add(record()).add(0.01).add(1.5).add(386.1).add(std::move(frn));
  for (host::Value& p : periods) args.add(std::move(p));
  args.add(0.02);
  return args;
}

Args weightArgs(host::Value frn, std::vector<host::Value> periods) {
  Args args;
  args.add(record()).add(0.01).add(579.15).add(std::move(frn));
  for (host::Value& p : periods) args.add(std::move(p));
  args.add(0.02);
  return args;
}

std::vector<host::Value> periodRow() {
  std::vector<host::Value> p;
  p.push_back(host::row({1.0, 2.0, 3.0}));
  return p;
}

std::vector<host::Value> periodRange(double nT) {
  std::vector<host::Value> p;
  p.push_back(host::scalar(1.0));
  p.push_back(host::scalar(3.0));
  p.push_back(host::scalar(nT));
  return p;
}

void expectShapes(const host::Outcome& out, std::size_t nT, std::size_t nFrn, bool generated) {
  ASSERT_TRUE(out.ok) << out.error;
  EXPECT_EQ(out.field("T").rows, generated ? nT : 1u);
  EXPECT_EQ(out.field("T").cols, generated ? 1u : nT);
  EXPECT_EQ(out.field("f").rows, nT);
  EXPECT_EQ(out.field("f").cols, 1u);
  EXPECT_EQ(out.field("frn").cols, nFrn);  // a copy of the row input
  for (const std::string& name : out.fieldNames()) {
    if (name == "pga" || name == "mass" || name == "W" || name == "frn" || name == "T" ||
        name == "f")
      continue;
    EXPECT_EQ(out.field(name).rows, nT) << name;
    EXPECT_EQ(out.field(name).cols, nFrn) << name;
  }
}

TEST(friction_pendulum_gateway, returns_its_fields_in_both_calling_forms) {
  const host::Outcome given =
      support::call(tillock::mexFunction, massArgs(host::row({0.05, 0.1}), periodRow()));
  ASSERT_TRUE(given.ok) << given.error;
  EXPECT_EQ(given.fieldNames(), kMassFields);
  expectShapes(given, 3, 2, false);
  EXPECT_EQ(given.values("mass"), std::vector<double>{1.5});

  const host::Outcome generated =
      support::call(tillock::mexFunction, massArgs(host::row({0.05, 0.1}), periodRange(3.9)));
  EXPECT_EQ(generated.fieldNames(), kMassFields);
  expectShapes(generated, 3, 2, true);
  EXPECT_EQ(generated.values("T"), (std::vector<double>{1.0, 2.0, 3.0}));
  // The same periods by either form give the same spectra.
  for (const char* name : {"dsp", "effT", "effGammaFact"})
    EXPECT_EQ(generated.values(name), given.values(name)) << name;
}

TEST(friction_pendulum_weight_gateway, returns_its_fields_in_both_calling_forms) {
  const host::Outcome given = support::call(tillock::weight::mexFunction,
                                            weightArgs(host::row({0.05, 0.1}), periodRow()));
  ASSERT_TRUE(given.ok) << given.error;
  EXPECT_EQ(given.fieldNames(), kWeightFields);
  expectShapes(given, 3, 2, false);
  EXPECT_EQ(given.values("W"), std::vector<double>{579.15});

  const host::Outcome generated = support::call(
      tillock::weight::mexFunction, weightArgs(host::row({0.05, 0.1}), periodRange(3.0)));
  EXPECT_EQ(generated.fieldNames(), kWeightFields);
  expectShapes(generated, 3, 2, true);
  EXPECT_EQ(generated.values("RFact"), given.values("RFact"));
}

TEST(friction_pendulum_gateway, empty_friction_list_gives_empty_result_fields) {
  const host::Outcome mass =
      support::call(tillock::mexFunction, massArgs(host::matrix(0, 0, {}), periodRow()));
  expectShapes(mass, 3, 0, false);
  EXPECT_EQ(mass.values("f").size(), 3u);
  const host::Outcome weight =
      support::call(tillock::weight::mexFunction, weightArgs(host::matrix(0, 0, {}), periodRow()));
  expectShapes(weight, 3, 0, false);
}

// A pulse of 1e25 defeats the long-period pendulum's Newton iteration at every sub-step size; the
// failure prints one warning and leaves its pair at zero, and the call still succeeds.
TEST(friction_pendulum_gateway, failed_pair_is_reported_on_the_console_not_as_an_error) {
  std::vector<double> ag = {0.0, 1.0, 0.5, -0.5, 0.2, 0.0};
  for (double& x : ag) x *= 1e25;
  const std::string warning = "??? Tillock::newmarkVar - failed to converge: dtSub = 0.000000\n";

  Args mass;
  mass.add(ag).add(0.01).add(1.0).add(386.1).add(0.05).add(host::row({2.0, 0.002})).add(0.01);
  const host::Outcome massOut = support::call(tillock::mexFunction, mass);
  ASSERT_TRUE(massOut.ok) << massOut.error;
  EXPECT_EQ(massOut.console, warning);
  EXPECT_EQ(massOut.values("dsp")[0], 0.0);
  EXPECT_GT(massOut.values("dsp")[1], 0.0);

  Args weight;
  weight.add(ag).add(0.01).add(386.1).add(0.05).add(host::row({2.0, 0.002})).add(0.01);
  const host::Outcome weightOut = support::call(tillock::weight::mexFunction, weight);
  ASSERT_TRUE(weightOut.ok) << weightOut.error;
  EXPECT_EQ(weightOut.console, warning);
  EXPECT_EQ(weightOut.values("muFact")[0], 0.0);
  EXPECT_GT(weightOut.values("muFact")[1], 0.0);
}

}  // namespace
