// The built program against direct gateway calls: same numbers bit for bit through CSV and JSON
// text, clear errors without partial outputs, batches that survive a bad record, the demo.
#include <fmt/format.h>
#include <gtest/gtest.h>

#include <cmath>
#include <nlohmann/json.hpp>

#include "records/numbers.h"
#include "records/synthetic_record.h"
#include "program_runner.h"
#include "support/calls.h"

#include "quorvel/gateway.h"
#include "daskent/gateway.h"
#include "morbane/gateway.h"
#include "tillock/gateway.h"
#include "tillock/gateway_weight.h"
#include "granwick/gateway.h"
#include "pellory/gateway.h"
#include "vintarrow/gateway.h"

namespace {

using clitest::ProgramRun;
using clitest::ScratchDir;
using support::Args;

constexpr double kDt = 0.01;
const std::vector<double> kPeriods = {0.2, 0.7, 1.5};

std::vector<double> record(std::uint64_t seed, std::int32_t n = 500) {
  return records::syntheticRecord(n, kDt, seed, 0.35);
}

std::vector<double> scaled(std::vector<double> samples, double factor) {
  for (double& s : samples) s *= factor;
  return samples;
}

double fromJson(const nlohmann::json& value) {
  if (value.is_string())
    return *records::parseNumber(value.get<std::string>() == "Infinity"    ? "inf"
                             : value.get<std::string>() == "-Infinity" ? "-inf"
                                                                       : "nan");
  return value.get<double>();
}

// "" when the JSON output holds exactly the fields, shapes and bits of the direct call.
std::string differenceFromJson(const std::string& text, const host::Outcome& direct) {
  if (!direct.ok) return "direct call failed: " + direct.error;
  const nlohmann::ordered_json json = nlohmann::ordered_json::parse(text);
  std::vector<std::string> names;
  for (const auto& item : json["fields"].items()) names.push_back(item.key());
  if (names != direct.fieldNames()) return "field names differ";
  for (const std::string& name : names) {
    const mxArray& array = direct.field(name);
    const auto& field = json["fields"][name];
    if (field["shape"] != nlohmann::ordered_json({array.rows, array.cols}))
      return name + ": shape differs";
    for (std::size_t i = 0; i < array.rows; ++i)
      for (std::size_t j = 0; j < array.cols; ++j)
        if (!support::sameBits(fromJson(field["data"][i][j]), array.data[j * array.rows + i]))
          return name + ": value differs at (" + std::to_string(i) + ", " + std::to_string(j) + ")";
  }
  return "";
}

// Runs the program with a JSON output and compares it with the direct call.
void expectSameAsGateway(const ScratchDir& dir, std::vector<std::string> args,
                         host::Gateway gateway, const Args& direct) {
  args.insert(args.end(), {"--out", dir.str("out.json"), "--quiet"});
  const ProgramRun run = clitest::runProgram(dir, args);
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(
      differenceFromJson(clitest::readFile(dir.str("out.json")), support::call(gateway, direct)),
      "")
      << args.front();
}

class EndToEnd : public ::testing::Test {
 protected:
  ScratchDir dir;
  std::string at2(const std::string& name, const std::vector<double>& samples) {
    return dir.write(name, clitest::at2Text(samples, kDt));
  }
};

TEST_F(EndToEnd, ElasticCsvEqualsTheGatewayBitForBit) {
  const std::vector<double> ag = record(1);
  const ProgramRun run =
      clitest::runProgram(dir, {"elastic", at2("r.AT2", ag), "--periods", "0.2,0.7,1.5", "--zeta",
                                "0.02,0.05", "--out", dir.str("r.csv")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("Quorvel (elastic)"), std::string::npos);  // the table is printed too
  const host::Outcome direct =
      support::call(quorvel::mexFunction,
                    Args().add(scaled(ag, 9.80665)).add(kDt).add(1.0).add({0.02, 0.05}).add(kPeriods));
  std::stringstream csv(clitest::readFile(dir.str("r.csv")));
  std::string header, line;
  std::getline(csv, header);
  EXPECT_EQ(header.substr(0, 33), "T [s],f [Hz],dsp zeta=0.02 [m],ds");
  for (std::size_t i = 0; std::getline(csv, line); ++i) {
    std::vector<double> row;
    std::stringstream cells(line);
    for (std::string cell; std::getline(cells, cell, ',');) row.push_back(*records::parseNumber(cell));
    ASSERT_EQ(row.size(), 2u + 10u * 2u);
    EXPECT_TRUE(support::sameBits(row[0], direct.values("T")[i]));
    for (std::size_t k = 0; k < 10; ++k)  // dsp ... rFrc, two damping ratios each
      for (std::size_t j = 0; j < 2; ++j)
        EXPECT_TRUE(support::sameBits(row[2 + 2 * k + j],
                                      direct.values(direct.fieldNames()[5 + k])[j * 3 + i]))
            << direct.fieldNames()[5 + k] << " period " << i;
  }
}

TEST_F(EndToEnd, ElasticRangeUnitsAndMethodReachTheGateway) {
  const std::vector<double> ag = record(2);
  expectSameAsGateway(dir,
                      {"Quorvel", at2("r.AT2", ag), "--periods", "0.1:3:30", "--method", "newmark",
                       "--mass", "2.5"},
                      quorvel::mexFunction,
                      Args()
                          .add(scaled(ag, 9.80665))
                          .add(kDt)
                          .add(2.5)
                          .add({0.05})
                          .add(0.1)
                          .add(3.0)
                          .add(30.0)
                          .add("newmark"));
  // A table with a header in cm/s2 and a time column, scaled by two, analysed in m/s2.
  std::string csv = "time (s),a [cm/s2]\n";
  for (std::size_t i = 0; i < ag.size(); ++i) csv += fmt::format("{},{}\n", i * kDt, ag[i] * 981);
  expectSameAsGateway(
      dir, {"elastic", dir.write("r.csv", csv), "--scale", "2", "--log-periods", "0.2:2:3"},
      quorvel::mexFunction,
      Args()
          .add(scaled(scaled(ag, 981), 0.01 / 1.0 * 2))
          .add(kDt)
          .add(1.0)
          .add({0.05})
          .add(std::vector<double>{
              0.2, std::exp(std::log(0.2) + (std::log(2.0) - std::log(0.2)) / 2), 2.0}));
}

TEST_F(EndToEnd, TwoComponentElastic) {
  const std::vector<double> a = record(3), b = record(4, 480);
  expectSameAsGateway(dir,
                      {"elastic2d", at2("a.AT2", a), at2("b.AT2", b), "--periods", "0.2,0.7,1.5"},
                      daskent::mexFunction,
                      Args()
                          .add(scaled(a, 9.80665))
                          .add(scaled(b, 9.80665))
                          .add(kDt)
                          .add(1.0)
                          .add({0.05})
                          .add(kPeriods));
}

TEST_F(EndToEnd, Inelastic) {
  const std::vector<double> ag = record(5);
  expectSameAsGateway(dir,
                      {"inelastic", at2("r.AT2", ag), "--periods", "0.2,0.7,1.5", "--zeta",
                       "0.02,0.05", "--kin", "0.01", "--iso", "0.005", "--R", "3"},
                      morbane::mexFunction,
                      Args()
                          .add(scaled(ag, 9.80665))
                          .add(kDt)
                          .add(1.0)
                          .add({0.02, 0.05})
                          .add(kPeriods)
                          .add(0.01)
                          .add(0.005)
                          .add("R")
                          .add(3.0));
}

TEST_F(EndToEnd, FrictionPendulum) {
  const std::vector<double> ag = record(6);
  expectSameAsGateway(dir,
                      {"fps", at2("r.AT2", ag), "--periods", "2:3:3", "--frn", "0.04,0.08", "--uy",
                       "0.0002", "--mass", "3", "--g", "9.81"},
                      tillock::mexFunction,
                      Args()
                          .add(scaled(ag, 9.80665))
                          .add(kDt)
                          .add(3.0)
                          .add(9.81)
                          .add({0.04, 0.08})
                          .add(2.0)
                          .add(3.0)
                          .add(3.0)
                          .add(0.0002));
}

TEST_F(EndToEnd, FrictionPendulumWeightVariantWorksInInches) {
  const std::vector<double> ag = record(7);
  expectSameAsGateway(
      dir, {"fps", at2("r.AT2", ag), "--periods", "2,3", "--weight", "50", "--uy", "0.04"},
      tillock::weight::mexFunction,
      Args()
          .add(scaled(ag, 9.80665 / 0.0254))
          .add(kDt)
          .add(50.0)
          .add({0.05})
          .add(std::vector<double>{2, 3})
          .add(0.04));
}

TEST_F(EndToEnd, TwoComponentFrictionPendulum) {
  const std::vector<double> a = record(8), b = record(9);
  expectSameAsGateway(dir,
                      {"fps2d", at2("a.AT2", a), at2("b.AT2", b), "--periods", "2,3", "--out-units",
                       "m/s2", "--g", "9.81", "--uy", "0.001"},
                      granwick::mexFunction,
                      Args()
                          .add(scaled(a, 9.80665))
                          .add(scaled(b, 9.80665))
                          .add(kDt)
                          .add(1.0)
                          .add(9.81)
                          .add({0.05})
                          .add(std::vector<double>{2, 3})
                          .add(0.001));
}

TEST_F(EndToEnd, LeadRubberBearing) {
  const std::vector<double> ag = record(10);
  expectSameAsGateway(
      dir,
      {"lrb", at2("r.AT2", ag), "--periods", "1.5:3:4", "--qd", "0.5,1", "--alpha", "0.08",
       "--mass", "2"},
      pellory::mexFunction,
      Args()
          .add(scaled(ag, 9.80665))
          .add(kDt)
          .add(2.0)
          .add({0.5, 1.0})
          .add(1.5)
          .add(3.0)
          .add(4.0)
          .add(0.08));
}

TEST_F(EndToEnd, TwoComponentLeadRubberBearing) {
  const std::vector<double> a = record(11), b = record(12);
  expectSameAsGateway(
      dir,
      {"lrb2d", at2("a.AT2", a), at2("b.AT2", b), "--periods", "2,3", "--qd", "0.6", "--alpha",
       "0.1"},
      vintarrow::mexFunction,
      Args()
          .add(scaled(a, 9.80665))
          .add(scaled(b, 9.80665))
          .add(kDt)
          .add(1.0)
          .add({0.6})
          .add(std::vector<double>{2, 3})
          .add(0.1));
}

// Each bad input: non-zero status, one line on stderr naming the problem, no output file.
TEST_F(EndToEnd, BadInputsFailClearlyWithoutOutput) {
  const std::string good = at2("good.AT2", record(13));
  std::string nanRecord = clitest::at2Text({0.1, 0.2, 0.3}, kDt);
  nanRecord.replace(nanRecord.rfind("0.2"), 3, "nan");
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"elastic", dir.str("missing.AT2")}, "missing.AT2: cannot open"},
      {{"elastic", dir.write("header.AT2", "PEER\nx\nACCELERATION\nPOINTS 3 STEP .01\n1 2 3\n")},
       "header.AT2:4: malformed AT2 header"},
      {{"elastic", dir.write("nan.AT2", nanRecord)}, "nan.AT2:5: sample 'nan' is not finite"},
      {{"elastic", dir.write("time.txt", "0 1\n0.01 2\n0.025 3\n0.03 4\n")},
       "time.txt:3: time step is not constant"},
      {{"elastic2d", good,
        dir.write("fast.AT2", "PEER\nx\nACCELERATION\nNPTS= 2, DT= .005 SEC\n1 2\n")},
       "different time steps"},
      {{"plastic", good}, "plastic"},
      {{"elastic", good, "--dumping", "0.05"}, "--dumping"},
      {{"elastic", good, "--periods", ""}, "--periods: the list is empty"},
      {{"elastic", good, "--periods", "0.5,-1"}, "--periods: periods must be positive"},
      {{"elastic", good, "--zeta", "0.05,abc"}, "'abc' is not a number"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--out", dir.str("out.csv")});
    const ProgramRun run = clitest::runProgram(dir, args);
    EXPECT_NE(run.status, 0) << c.message;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_LE(std::count(run.err.begin(), run.err.end(), '\n'), 2) << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir.path("out.csv"))) << c.message;
  }
  const auto files = dir.files();
  EXPECT_TRUE(std::none_of(files.begin(), files.end(), [](const std::string& f) {
    return f[0] == '.';
  })) << "temporary file left behind";
}

TEST_F(EndToEnd, BatchWritesEveryGoodRecordDespiteABadOne) {
  const std::string a = at2("a.AT2", record(14)), b = at2("b.AT2", record(15));
  const std::string bad =
      dir.write("bad.AT2", "PEER\nx\nACCELERATION\nNPTS= 9, DT= .01 SEC\n1 2 3\n");
  const ProgramRun run =
      clitest::runProgram(dir, {"elastic", a, bad, b, "--periods", "0.5,1", "--out-dir",
                                dir.str("out"), "--jobs", "2", "--plot-format", "svg"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("bad.AT2: the header announces NPTS = 9 but 3 samples follow"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("2 of 3 records done, 1 failed"), std::string::npos) << run.err;
  EXPECT_EQ(dir.files(), (std::vector<std::string>{"a.AT2", "b.AT2", "bad.AT2", "out", "out/a.csv",
                                                   "out/a.svg", "out/b.csv", "out/b.svg"}));
  // The same numbers as a single run.
  ASSERT_EQ(clitest::runProgram(
                dir, {"elastic", b, "--periods", "0.5,1", "-q", "--out", dir.str("b.csv")})
                .status,
            0);
  EXPECT_EQ(clitest::readFile(dir.str("out/b.csv")), clitest::readFile(dir.str("b.csv")));
}

TEST_F(EndToEnd, BatchRefusesOutputsThatWouldCollide) {
  std::filesystem::create_directories(dir.path("x"));
  const std::string one = at2("r.AT2", record(16));
  const std::string two = dir.write("x/r.AT2", clitest::readFile(one));
  const ProgramRun run =
      clitest::runProgram(dir, {"elastic", one, two, "--out-dir", dir.str("out")});
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.err.find("would both write"), std::string::npos) << run.err;
  EXPECT_FALSE(std::filesystem::exists(dir.path("out/r.csv")));
}

TEST_F(EndToEnd, DemoPrintsATableAndDrawsAPlot) {
  const ProgramRun run =
      clitest::runProgram(dir, {"demo", "--periods", "0.1:2:20", "--plot", dir.str("demo.png")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("synthetic record"), std::string::npos);
  EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 3 + 20);
  EXPECT_EQ(clitest::readFile(dir.str("demo.png")).substr(1, 3), "PNG");
}

TEST_F(EndToEnd, HelpNamesEveryBuiltModule) {
  const ProgramRun run = clitest::runProgram(dir, {"--help"});
  EXPECT_EQ(run.status, 0);
  for (const char* name :
       {"elastic", "elastic2d", "inelastic", "fps", "fps2d", "lrb", "lrb2d", "demo"})
    EXPECT_NE(run.out.find(std::string("  ") + name), std::string::npos) << name;
  const ProgramRun module = clitest::runProgram(dir, {"inelastic", "--help"});
  EXPECT_NE(module.out.find("Morbane(ag,dt,m,zeta,T,kin,iso,method,para)"), std::string::npos)
      << module.out;
}

}  // namespace
