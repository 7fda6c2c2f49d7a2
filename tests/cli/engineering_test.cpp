// The program as an engineer meets it: outputs in the units asked for (the module's numbers times
// one stated factor), strengths as shares of the weight, physical checks that stop or warn, "did
// you mean" for slips, agency record files and their channels, components at different steps.
#include <fmt/format.h>
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "../records/agency_files.h"
#include "daskent/gateway.h"
#include "pellory/gateway.h"
#include "program_runner.h"
#include "quorvel/gateway.h"
#include "records/numbers.h"
#include "records/synthetic_record.h"
#include "support/calls.h"

namespace {

using clitest::ProgramRun;
using clitest::ScratchDir;
using support::Args;

constexpr double kDt = 0.01;
constexpr double kGravity = 9.80665;

std::vector<double> inMetres(std::vector<double> g) {
  for (double& a : g) a *= kGravity;
  return g;
}

class Engineering : public ::testing::Test {
 protected:
  ScratchDir dir;
  std::string record(const std::string& name = "r.AT2", std::uint64_t seed = 3) {
    return dir.write(name, clitest::at2Text(records::syntheticRecord(400, kDt, seed, 0.3), kDt));
  }
  nlohmann::json json(std::vector<std::string> args) {
    args.insert(args.end(), {"--out", dir.str("out.json"), "-q"});
    const ProgramRun run = clitest::runProgram(dir, args);
    EXPECT_EQ(run.status, 0) << run.err;
    return nlohmann::json::parse(clitest::readFile(dir.str("out.json")));
  }
};

// Each output is the module's value in kg, m/s2, m, N times the factor of its quantity, one
// multiplication by a factor computed once.
TEST_F(Engineering, OutputUnitsAreTheModulesNumbersTimesOneFactor) {
  const std::vector<double> ag = records::syntheticRecord(400, kDt, 3, 0.3);
  const nlohmann::json out = json({"elastic", record(), "--periods", "0.2,1", "--mass", "2000",
                                   "--acc-units", "g", "--vel-units", "cm/s", "--disp-units",
                                   "mm", "--force-units", "kN"});
  const host::Outcome direct = support::call(
      quorvel::mexFunction,
      Args().add(inMetres(ag)).add(kDt).add(2000.0).add({0.05}).add(std::vector<double>{0.2, 1}));
  const std::map<std::string, std::pair<std::string, double>> expected = {
      {"pga", {"g", 1.0 / kGravity}},     {"mass", {"kg", 1.0}},        {"T", {"s", 1.0}},
      {"dsp", {"mm", 1.0 / 0.001}},       {"vel", {"cm/s", 1.0 / 0.01}}, {"acc", {"g", 1.0 / kGravity}},
      {"psdAcc", {"g", 1.0 / kGravity}},  {"rFrc", {"kN", 1.0 / 1e3}},   {"zeta", {"", 1.0}}};
  for (const auto& [field, unit] : expected) {
    EXPECT_EQ(out["fields"][field]["unit"], unit.first) << field;
    const std::vector<double>& values = direct.values(field);
    for (std::size_t i = 0; i < values.size(); ++i)
      EXPECT_TRUE(support::sameBits(out["fields"][field]["data"][i][0].get<double>(),
                                    values[i] * unit.second))
          << field << " " << i;
  }
  EXPECT_EQ(out["units"], nlohmann::json({{"acceleration", "g"},
                                          {"velocity", "cm/s"},
                                          {"displacement", "mm"},
                                          {"force", "kN"},
                                          {"mass", "kg"}}));
  EXPECT_EQ(out["fields"]["psdAcc"]["symbol"], "Sa");
  EXPECT_EQ(out["fields"]["psdAcc"]["quantity"], "pseudo-spectral acceleration");

  // A unit system sets all four; a per-quantity option overrides it; --out-units is --acc-units.
  const nlohmann::json us = json({"elastic", record(), "--periods", "1", "--unit-system", "US",
                                  "--disp-units", "ft"});
  EXPECT_EQ(us["units"]["acceleration"], "g");
  EXPECT_EQ(us["units"]["velocity"], "in/s");
  EXPECT_EQ(us["units"]["displacement"], "ft");
  EXPECT_EQ(us["units"]["force"], "kip");
  EXPECT_EQ(json({"elastic", record(), "--periods", "1", "--out-units", "cm/s2"})["units"]
                ["acceleration"],
            "cm/s2");
}

TEST_F(Engineering, TableAndCsvStateTheUnitOfEveryColumn) {
  const ProgramRun run =
      clitest::runProgram(dir, {"elastic", record(), "--periods", "0.5,1", "--zeta", "0.02,0.05",
                                "--acc-units", "g", "--disp-units", "cm", "--out", dir.str("r.csv")});
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("PGA = "), std::string::npos);
  for (const char* header : {"Sa [g]", "PSV [m/s]", "Sd [cm]", "ζ = 2 %", "ζ = 5 %"})
    EXPECT_NE(run.out.find(header), std::string::npos) << header << "\n" << run.out;
  const std::string csv = clitest::readFile(dir.str("r.csv"));
  const std::string header = csv.substr(0, csv.find('\n'));
  for (const char* column : {"dsp zeta=0.02 [cm]", "psdAcc zeta=0.05 [g]", "rFrc zeta=0.05 [N]"})
    EXPECT_NE(header.find(column), std::string::npos) << column << "\n" << header;
}

TEST_F(Engineering, StrengthsAsSharesOfTheWeight) {
  const std::vector<double> ag = records::syntheticRecord(400, kDt, 3, 0.3);
  const nlohmann::json out = json({"lrb", record(), "--periods", "2,3", "--mass", "1000",
                                   "--qd-ratio", "0.03,0.06"});
  const host::Outcome direct =
      support::call(pellory::mexFunction, Args()
                                               .add(inMetres(ag))
                                               .add(kDt)
                                               .add(1000.0)
                                               .add({0.03 * 1000 * kGravity, 0.06 * 1000 * kGravity})
                                               .add(std::vector<double>{2, 3})
                                               .add(0.1));
  EXPECT_EQ(out["QdOverW"], nlohmann::json({0.03, 0.06}));
  for (std::size_t k = 0; k < 4; ++k)
    EXPECT_TRUE(support::sameBits(out["fields"]["dsp"]["data"][k % 2][k / 2].get<double>(),
                                  direct.values("dsp")[k]));
  const ProgramRun table =
      clitest::runProgram(dir, {"lrb", record(), "--periods", "2", "--qd-ratio", "0.03"});
  EXPECT_NE(table.out.find("Qd/W = 0.03"), std::string::npos) << table.out;
}

struct Check {
  std::vector<std::string> args;  // after the record
  std::string message;
};

// Every class of meaningless value stops with one line naming the option, and writes nothing.
TEST_F(Engineering, MeaninglessValuesStopWithOneLineAndNoOutput) {
  const std::vector<std::pair<std::string, Check>> cases = {
      {"elastic", {{"--zeta", "5"}, "--zeta 5: ζ = 500 % of critical damping; did you mean 0.05?"}},
      {"elastic", {{"--zeta", "1"}, "--method newmark takes ζ of 1 or more"}},
      {"elastic", {{"--zeta", "-0.05"}, "--zeta -0.05: a damping ratio cannot be negative"}},
      {"inelastic", {{"--R", "4", "--zeta", "1.5"}, "did you mean 0.015? The inelastic oscillator needs ζ below 1"}},
      {"inelastic", {{"--R", "0"}, "R = 0: the strength reduction factor must be positive"}},
      {"inelastic", {{"--mu", "0.5"}, "μ = 0.5: a target ductility must be at least 1"}},
      {"inelastic", {{"--fy", "-1"}, "the yield strength must be positive"}},
      {"inelastic", {{"--uy", "0"}, "the yield displacement must be positive"}},
      {"inelastic", {{"--R", "4", "--kin", "1"}, "--kin 1: a hardening ratio of 1 or more"}},
      {"fps", {{"--frn", "5"}, "--frn 5: a friction coefficient of 1 or more would hold the "
                               "bearing fast (usual values 0.02 to 0.15); did you mean 0.05?"}},
      {"fps", {{"--frn", "-0.01"}, "a friction coefficient cannot be negative"}},
      {"fps", {{"--uy", "0"}, "--uy 0: the pre-sliding displacement must be positive"}},
      {"fps", {{"--g", "0"}, "--g 0: gravity must be positive"}},
      {"fps", {{"--weight", "-5"}, "--weight -5: the weight must be positive"}},
      {"lrb", {{"--mass", "0"}, "--mass 0: the mass must be positive"}},
      {"lrb", {{"--qd", "-1"}, "--qd -1: a characteristic strength cannot be negative"}},
      {"lrb", {{"--qd-ratio", "5"}, "Qd/W of 1 or more would never yield; did you mean 0.05?"}},
      {"lrb", {{"--alpha", "0"}, "--alpha 0: the post-yield to elastic stiffness ratio α must"}},
      {"lrb", {{"--alpha", "1.5"}, "must lie in (0, 1]"}},
      {"elastic", {{"--scale", "0"}, "--scale 0 would make the record all zeros"}},
  };
  const std::string r = record();
  for (const auto& [command, c] : cases) {
    std::vector<std::string> args = {command, r, "--periods", "1,2"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    args.insert(args.end(), {"--out", dir.str("out.csv")});
    const ProgramRun run = clitest::runProgram(dir, args);
    EXPECT_EQ(run.status, 1) << c.message;
    EXPECT_EQ(run.err.find("spectra: "), 0u) << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir.path("out.csv"))) << c.message;
  }
}

// Legal but unusual values run, with one warning line each.
TEST_F(Engineering, UnusualValuesRunWithAWarning) {
  const std::vector<std::pair<std::string, Check>> cases = {
      {"elastic",
       {{"--zeta", "2", "--method", "newmark"}, "warning: --zeta 2: ζ = 200 % of critical damping; "
                                                "did you mean 0.02? (an overdamped oscillator)"}},
      {"fps", {{"--frn", "0.5"}, "warning: --frn 0.5: a friction coefficient above 0.3 is unusual"}},
      {"fps", {{"--uy", "1"}, "warning: --uy 1: a pre-sliding displacement of 1 m is large"}},
      {"fps", {{"--g", "1"}, "warning: --g 1: far from standard gravity 9.807 m/s2"}},
      {"lrb", {{"--qd", "0.03"}, "warning: --qd 0.03: Qd of 0.306 % of the weight m·g = 9.807 N "
                                 "(usual: 3 to 10 %); --qd is a force in N, for shares of the "
                                 "weight use --qd-ratio 0.03"}},
      {"lrb", {{"--qd-ratio", "0.4"}, "warning: --qd-ratio 0.4: Qd/W above 0.3 is unusual"}},
      {"inelastic", {{"--R", "0.5"}, "warning: R = 0.5: below 1 the yield strength exceeds"}},
      {"inelastic", {{"--R", "2", "--kin", "-0.01"}, "warning: --kin -0.01: negative hardening"}},
  };
  const std::string r = record();
  for (const auto& [command, c] : cases) {
    std::vector<std::string> args = {command, r, "--periods", "1,2", "-q"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ProgramRun run = clitest::runProgram(dir, args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find("spectra: " + c.message), std::string::npos) << run.err;
  }
}

TEST_F(Engineering, ARecordPeakingAboveFourGNamesItsUnitAndUnits) {
  // El Centro-like values in cm/s2 written without a unit: read as g they peak at 312 g.
  std::string text;
  for (double a : {0.0, 120.5, -306.6, 210.0, -45.0}) text += records::roundTrip(a) + "\n";
  const std::string path = dir.write("elc_cms2.txt", text);
  const ProgramRun asG =
      clitest::runProgram(dir, {"elastic", path, "--dt", "0.02", "--periods", "1", "-q"});
  EXPECT_EQ(asG.status, 0);
  EXPECT_NE(asG.err.find("warning: " + path +
                         ": peak ground acceleration 307 g with the samples read in g (the file "
                         "states no unit, so g is assumed); if the file is in another unit give "
                         "it with --units (e.g. --units cm/s2)"),
            std::string::npos)
      << asG.err;
  const ProgramRun inGal = clitest::runProgram(
      dir, {"elastic", path, "--dt", "0.02", "--units", "gal", "--periods", "1", "-q"});
  EXPECT_EQ(inGal.err, "");
}

TEST_F(Engineering, SlipsGetADidYouMean) {
  const std::string r = record();
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"elastc", r}, "spectra: unknown module 'elastc'; did you mean elastic? (see spectra --help)"},
      {{"Quorvl", r}, "did you mean Quorvel?"},
      {{"elastic", r, "--zetta", "0.05"},
       "spectra: unknown option --zetta; did you mean --zeta? (see spectra elastic --help)"},
      {{"elastic", r, "--periods=1", "--acc-unit", "g"}, "did you mean --acc-units?"},
      {{"elastic", r, "--frn", "0.05"}, "--frn is not an option of elastic (it is one of fps, fps2d)"},
      {{"elastic", r, "--method", "recfrom"}, "did you mean recform?"},
      {{"elastic", r, "--format", "cosmo"}, "did you mean cosmos?"},
      {{"elastic", r, "--fields", "psdacc"}, "did you mean psdAcc?"},
  };
  for (const auto& [args, message] : cases) {
    const ProgramRun run = clitest::runProgram(dir, args);
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
  }
  // A negative number after an option is its value, not an unknown option.
  const ProgramRun negative =
      clitest::runProgram(dir, {"elastic", r, "--periods", "1", "--scale", "-1", "-q"});
  EXPECT_EQ(negative.status, 0) << negative.err;
}

TEST_F(Engineering, AgencyFilesByFormatAndChannel) {
  const std::vector<double> motion = agency_files::groundMotion(300);
  std::vector<double> second = motion;
  for (double& a : second) a = -a / 2;
  const std::string both = dir.write(
      "both.V2", agency_files::cosmos({motion}) + agency_files::cosmos({second, 10.0}));
  const ProgramRun unchosen = clitest::runProgram(dir, {"elastic", both, "--periods", "1"});
  EXPECT_NE(unchosen.err.find("choose one with --channel (1 to 2)"), std::string::npos)
      << unchosen.err;
  // Channel 2 is the record -motion/2 in cm/s2: the same spectrum as that record given as columns.
  std::string columns;
  for (double a : second) columns += records::roundTrip(a) + "\n";
  const std::string plain = dir.write("second.txt", columns);
  const nlohmann::json fromCosmos =
      json({"elastic", both, "--channel", "2", "--format", "cosmos", "--periods", "0.5,1"});
  const nlohmann::json fromColumns =
      json({"elastic", plain, "--dt", "0.01", "--units", "cm/s2", "--periods", "0.5,1"});
  EXPECT_EQ(fromCosmos["fields"]["psdAcc"], fromColumns["fields"]["psdAcc"]);
  EXPECT_EQ(fromCosmos["records"][0]["format"], "COSMOS V2");

  const ProgramRun wrong = clitest::runProgram(dir, {"elastic", record(), "--channel", "2"});
  EXPECT_NE(wrong.err.find("--channel chooses among the channels of a COSMOS file"),
            std::string::npos)
      << wrong.err;
  const ProgramRun help = clitest::runProgram(dir, {"elastic", "--help"});
  EXPECT_NE(help.out.find("auto, at2, cosmos, smc, knet, esm, columns, csv"), std::string::npos);
}

TEST_F(Engineering, ComponentsAtDifferentStepsNeedResampling) {
  const std::string a = record("a.AT2", 4);
  const std::string b =
      dir.write("b.AT2", clitest::at2Text(records::syntheticRecord(800, kDt / 2, 5, 0.3), kDt / 2));
  const ProgramRun run = clitest::runProgram(dir, {"elastic2d", a, b, "--periods", "1"});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("the components have different time steps (0.01 s and 0.005 s); add "
                         "--resample to bring the coarser one to the finer step"),
            std::string::npos)
      << run.err;
}

}  // namespace
