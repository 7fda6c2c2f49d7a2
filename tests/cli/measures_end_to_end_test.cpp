// The program's measures against direct calls: history peaks equal every module's outputs bit
// for bit, resampling off leaves the module's numbers and on feeds it the finer record, RotD and
// constant-ductility tables equal the measures, targets, suites, scale factors and shards.
#include <fmt/format.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <sstream>

#include "core/numerics/magnitude.h"
#include "core/numerics/peaks.h"
#include "daskent/gateway.h"
#include "granwick/gateway.h"
#include "measures/constant_ductility.h"
#include "measures/design_spectra.h"
#include "measures/resample.h"
#include "measures/rotd.h"
#include "measures/scaling.h"
#include "measures/suite.h"
#include "morbane/gateway.h"
#include "pellory/gateway.h"
#include "program_runner.h"
#include "quorvel/gateway.h"
#include "records/numbers.h"
#include "records/units.h"
#include "records/synthetic_record.h"
#include "support/calls.h"
#include "tillock/gateway.h"
#include "tillock/gateway_weight.h"
#include "vintarrow/gateway.h"

namespace {

using clitest::ProgramRun;
using clitest::ScratchDir;
using support::Args;
using support::sameBits;
using Json = nlohmann::ordered_json;

constexpr double kDt = 0.01;

// Records in g, as AT2 files hold them.
std::vector<double> record(std::uint64_t seed, std::int32_t n = 500, double peak = 0.35) {
  return records::syntheticRecord(n, kDt, seed, peak);
}

// What the module receives: the analysis runs in m/s2, the samples multiplied once.
std::vector<double> si(std::vector<double> samples) {
  for (double& s : samples) s *= 9.80665;
  return samples;
}

// m/s2 to g, as the program converts Sa for targets, suites and scaling.
std::vector<double> inG(std::vector<double> values) {
  const double factor =
      records::conversionFactor(records::findUnit("m/s2"), records::findUnit("g"), 1.0);
  for (double& v : values) v *= factor;
  return values;
}

double fromJson(const Json& value) {
  if (value.is_string()) return *records::parseNumber(value.get<std::string>() == "NaN" ? "nan" : "inf");
  return value.get<double>();
}

// The columns of a CSV file by header.
std::map<std::string, std::vector<double>> csvColumns(const std::string& path) {
  std::stringstream text(clitest::readFile(path));
  std::string line;
  std::getline(text, line);
  std::vector<std::string> names;
  std::stringstream header(line);
  for (std::string name; std::getline(header, name, ',');) names.push_back(name);
  std::map<std::string, std::vector<double>> columns;
  while (std::getline(text, line)) {
    std::stringstream cells(line);
    std::size_t c = 0;
    for (std::string cell; std::getline(cells, cell, ','); ++c)
      columns[names.at(c)].push_back(*records::parseNumber(cell));
  }
  return columns;
}

// A column of a history JSON file by name.
std::vector<double> jsonColumn(const Json& doc, const std::string& name) {
  for (const Json& column : doc["columns"])
    if (column["name"] == name) {
      std::vector<double> values;
      for (const Json& v : column["data"]) values.push_back(fromJson(v));
      return values;
    }
  ADD_FAILURE() << "no column " << name;
  return {};
}

// Peak of one component's series, or of the resultant of two.
double peakOf(const Json& doc, const std::string& quantity, bool twoComponents) {
  if (!twoComponents) {
    const std::vector<double> x = jsonColumn(doc, quantity);
    return core::peakAbs(x.data(), static_cast<std::int32_t>(x.size()));
  }
  const std::vector<double> a = jsonColumn(doc, quantity + "1"), b = jsonColumn(doc, quantity + "2");
  return core::peakMagnitude(a.data(), b.data(), static_cast<std::int32_t>(a.size()));
}

class MeasuresEndToEnd : public ::testing::Test {
 protected:
  ScratchDir dir;
  std::string at2(const std::string& name, const std::vector<double>& samples, double dt = kDt) {
    return dir.write(name, clitest::at2Text(samples, dt));
  }
  ProgramRun run(std::vector<std::string> args) {
    const ProgramRun result = clitest::runProgram(dir, args);
    EXPECT_EQ(result.status, 0) << result.err;
    return result;
  }
};

// One module run with a history: the program's run, the direct call and the oscillator.
struct HistoryCase {
  std::string name;
  std::vector<std::string> args;  // everything but --history and the outputs
  std::function<host::Outcome()> direct;
  std::string history;  // T=…,swept=…
  std::size_t index;    // of that oscillator in the outputs
  bool twoComponents;
};

TEST_F(MeasuresEndToEnd, HistoryPeaksAreEveryModulesOutputsBitForBit) {
  const std::vector<double> a = record(1), b = record(2, 470), weak = record(6, 500, 0.1);
  const std::string ra = at2("a.AT2", a), rb = at2("b.AT2", b), rw = at2("w.AT2", weak);
  const std::vector<double> sa = si(a), sb = si(b), sweak = si(weak);
  const std::vector<double> T = {0.2, 0.7, 1.5}, Tiso = {1.5, 3.0};
  const std::vector<std::string> common = {"--quiet"};
  const auto call = [](host::Gateway gateway, const Args& args) {
    return support::call(gateway, args);
  };
  std::vector<HistoryCase> cases = {
      {"elastic newmark",
       {"elastic", ra, "--periods", "0.2,0.7,1.5", "--zeta", "0.02,0.05", "--method", "newmark",
        "--mass", "2"},
       [&] {
         return call(quorvel::mexFunction,
                     Args().add(sa).add(kDt).add(2.0).add({0.02, 0.05}).add(T).add("newmark"));
       },
       "T=0.7,zeta=0.05", 4, false},
      {"elastic2d", {"elastic2d", ra, rb, "--periods", "0.2,0.7,1.5"},
       [&] {
         return call(daskent::mexFunction, Args().add(sa).add(sb).add(kDt).add(1.0).add({0.05}).add(T));
       },
       "T=1.5", 2, true},
      {"inelastic R", {"inelastic", ra, "--periods", "0.2,0.7,1.5", "--R", "3", "--kin", "0.02"},
       [&] {
         return call(morbane::mexFunction,
                     Args().add(sa).add(kDt).add(1.0).add({0.05}).add(T).add(0.02).add(0.0).add("R").add(3.0));
       },
       "T=0.2", 0, false},
      {"inelastic mu, the module's search",
       {"inelastic", rw, "--periods", "0.2,0.7,1.5", "--mu", "2", "--kin", "0.02", "--search",
        "module"},
       [&] {
         return call(morbane::mexFunction, Args()
                                                .add(sweak)
                                                .add(kDt)
                                                .add(1.0)
                                                .add({0.05})
                                                .add(T)
                                                .add(0.02)
                                                .add(0.0)
                                                .add("mu")
                                                .add(2.0));
       },
       "T=0.7", 1, false},
      {"fps", {"fps", ra, "--periods", "1.5,3", "--frn", "0.03,0.08", "--uy", "0.0002"},
       [&] {
         return call(tillock::mexFunction,
                     Args().add(sa).add(kDt).add(1.0).add(9.80665).add({0.03, 0.08}).add(Tiso).add(0.0002));
       },
       "T=3,frn=0.08", 3, false},
      {"fps2d", {"fps2d", ra, rb, "--periods", "1.5,3", "--frn", "0.05", "--uy", "0.0002"},
       [&] {
         return call(granwick::mexFunction,
                     Args().add(sa).add(sb).add(kDt).add(1.0).add(9.80665).add({0.05}).add(Tiso).add(0.0002));
       },
       "T=1.5", 0, true},
      {"lrb", {"lrb", ra, "--periods", "1.5,3", "--qd", "0.03,0.06", "--alpha", "0.08"},
       [&] {
         return call(pellory::mexFunction,
                     Args().add(sa).add(kDt).add(1.0).add({0.03, 0.06}).add(Tiso).add(0.08));
       },
       "T=1.5,Qd=0.06", 2, false},
      {"lrb2d", {"lrb2d", ra, rb, "--periods", "1.5,3", "--qd", "0.05"},
       [&] {
         return call(vintarrow::mexFunction,
                     Args().add(sa).add(sb).add(kDt).add(1.0).add({0.05}).add(Tiso).add(0.1));
       },
       "T=3", 1, true},
  };
  for (HistoryCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> args = c.args;
    args.insert(args.end(), common.begin(), common.end());
    args.insert(args.end(), {"--history", c.history, "--out", dir.str("out.json")});
    run(args);
    const host::Outcome direct = c.direct();
    ASSERT_TRUE(direct.ok) << direct.error;
    // The spectrum itself is the module's, bit for bit.
    const Json spectrum = Json::parse(clitest::readFile(dir.str("out.json")));
    for (const char* field : {"dsp", "psdAcc", "rFrc"}) {
      const auto& rows = spectrum["fields"][field]["data"];
      const std::size_t nT = rows.size();
      EXPECT_TRUE(sameBits(fromJson(rows[c.index % nT][c.index / nT]),
                           direct.values(field)[c.index]))
          << field;
    }
    std::string history;
    for (const std::string& f : dir.files())
      if (f.find("out-history-") == 0) history = f;
    ASSERT_FALSE(history.empty());
    const Json doc = Json::parse(clitest::readFile(dir.str(history)));
    EXPECT_FALSE(doc["ownCall"].get<bool>());
    EXPECT_TRUE(sameBits(peakOf(doc, "displacement u", c.twoComponents),
                         direct.values("dsp")[c.index]));
    EXPECT_TRUE(sameBits(peakOf(doc, "restoring force fs", c.twoComponents),
                         direct.values("rFrc")[c.index]));
    EXPECT_TRUE(sameBits(fromJson(doc["peaks"]["totAcc"]), direct.values("totAcc")[c.index]));
    std::filesystem::remove(dir.path(history));
  }
}

TEST_F(MeasuresEndToEnd, WeightVariantHistoryWorksInInches) {
  const std::vector<double> a = record(3);
  run({"fps", at2("a.AT2", a), "--weight", "50", "--uy", "0.04", "--periods", "2,3", "--history",
       "T=3", "--out", dir.str("w.json"), "-q"});
  std::vector<double> inches = a;
  for (double& s : inches) s *= 9.80665 / 0.0254;  // the program's one conversion factor
  const host::Outcome direct = support::call(
      tillock::weight::mexFunction,
      Args().add(inches).add(kDt).add(50.0).add({0.05}).add(std::vector<double>{2, 3}).add(0.04));
  ASSERT_TRUE(direct.ok) << direct.error;
  const Json doc = Json::parse(clitest::readFile(dir.str("w-history-T3-frn0.05.json")));
  EXPECT_TRUE(sameBits(peakOf(doc, "displacement u", false), direct.values("dsp")[1]));
  EXPECT_TRUE(sameBits(peakOf(doc, "restoring force fs", false), direct.values("rFrc")[1]));
  EXPECT_EQ(doc["units"]["displacement"], "in");
}

TEST_F(MeasuresEndToEnd, StrengthsGivenAsSharesOfTheWeightAreChosenAsShares) {
  const std::string file = at2("a.AT2", record(5));
  const std::vector<std::string> base = {"lrb", file, "--qd-ratio", "0.03,0.06", "--periods", "3",
                                         "-q", "--history"};
  std::vector<std::string> share = base;
  share.insert(share.end(), {"T=3,Qd/W=0.06", "--out", dir.str("s.json")});
  run(share);
  const Json spectrum = Json::parse(clitest::readFile(dir.str("s.json")));
  const Json history = Json::parse(clitest::readFile(
      dir.str("s-history-T3-Qd" + fmt::format("{:.6g}", 0.06 * 9.80665) + ".json")));
  EXPECT_TRUE(sameBits(peakOf(history, "displacement u", false),
                       spectrum["fields"]["dsp"]["data"][0][1].get<double>()));
  // A force equal to a share was meant as the share: said, not analysed as a 0.06 N strength.
  std::vector<std::string> force = base;
  force.insert(force.end(), {"T=3,Qd=0.06", "--out", dir.str("f.json")});
  const ProgramRun r = clitest::runProgram(dir, force);
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("write Qd/W=0.06"), std::string::npos) << r.err;
  // The refusal comes before anything is written: no spectrum without its history.
  EXPECT_FALSE(std::filesystem::exists(dir.str("f.json")));
}

TEST_F(MeasuresEndToEnd, HistoryOfAnOscillatorOutsideTheListsIsItsOwnModuleCall) {
  const std::vector<double> a = record(4);
  const ProgramRun r = run({"elastic", at2("a.AT2", a), "--periods", "0.2,0.7", "--history",
                            "T=0.33,zeta=0.03", "--plot", dir.str("p.png")});
  EXPECT_NE(r.out.find("analysed on its own"), std::string::npos) << r.out;
  const host::Outcome single =
      support::call(quorvel::mexFunction, Args().add(si(a)).add(kDt).add(1.0).add({0.03}).add({0.33}));
  EXPECT_EQ(clitest::readFile(dir.str("p-history-T0.33-zeta0.03.png")).substr(1, 3), "PNG");
  // No data file was asked for: the summary line carries the peak.
  EXPECT_NE(r.out.find(fmt::format("peak displacement {:.6g}", single.values("dsp")[0])),
            std::string::npos)
      << r.out;
}

TEST_F(MeasuresEndToEnd, ConstantDuctilityIsTheLargestStrengthRuleForAnyMass) {
  const std::vector<double> ag = record(5);
  const std::string file = at2("r.AT2", ag);
  for (const char* mass : {"1", "7"})
    run({"inelastic", file, "--mu", "3", "--periods", "0.3,1,2", "--zeta", "0.02,0.05",
         "--kin", "0.01", "--mass", mass, "--history", "T=1,zeta=0.02",
         "--out", dir.str(std::string("m") + mass + ".csv"), "-q"});
  measures::DuctilityOscillators o;
  o.periods = {0.3, 1, 2};
  o.dampingRatios = {0.02, 0.05};
  o.kin = 0.01;
  const measures::ConstantDuctilitySpectrum s =
      measures::constantDuctilitySpectrum(si(ag), kDt, o, 3.0);
  const auto one = csvColumns(dir.str("m1.csv")), seven = csvColumns(dir.str("m7.csv"));
  for (std::size_t j = 0; j < 2; ++j) {
    const std::string z = j == 0 ? " ζ=0.02" : " ζ=0.05";
    for (std::size_t i = 0; i < 3; ++i) {
      const measures::DuctilityPoint& p = s.at(static_cast<std::int32_t>(i), static_cast<std::int32_t>(j));
      EXPECT_TRUE(sameBits(one.at("R" + z + " [-]")[i], p.reductionFactor));
      EXPECT_TRUE(sameBits(one.at("μ reached" + z + " [-]")[i], p.ductility));
      EXPECT_TRUE(sameBits(one.at("u_max" + z + " [m]")[i], p.peakDisplacement));
      EXPECT_TRUE(sameBits(one.at("yield strength fy" + z + " [N]")[i], p.yieldStrength));
      EXPECT_TRUE(sameBits(seven.at("yield strength fy" + z + " [N]")[i], 7 * p.yieldStrength));
      EXPECT_TRUE(sameBits(one.at("Cy=fy/(m·g)" + z + " [-]")[i], p.yieldStrength / 9.80665));
    }
  }
  // Only the strength depends on the mass.
  for (const auto& [name, values] : one)
    if (name.rfind("yield strength", 0) != 0) {
      EXPECT_EQ(values, seven.at(name)) << name;
    }
  // The history is the oscillator at the strength found: its peak is the spectrum's u_max.
  const auto h = csvColumns(dir.str("m7-history-T1-zeta0.02.csv"));
  const std::vector<double>& u = h.at("displacement u [m]");
  EXPECT_TRUE(sameBits(core::peakAbs(u.data(), static_cast<std::int32_t>(u.size())),
                       s.at(1, 0).peakDisplacement));
  const std::vector<double>& fs = h.at("restoring force fs [N]");
  EXPECT_NEAR(core::peakAbs(fs.data(), static_cast<std::int32_t>(fs.size())),
              7 * s.at(1, 0).yieldStrength, 0.1 * 7 * s.at(1, 0).yieldStrength);
}

TEST_F(MeasuresEndToEnd, ConstantDuctilityLeavesAPeriodWithoutASolutionEmptyAndGoesOn) {
  // With kin = −1 the hardened tangent divides by zero: every yielding trial at 0.03 s fails.
  const std::vector<double> ag = record(7);
  const ProgramRun r = run({"inelastic", at2("r.AT2", ag), "--mu", "4", "--periods", "0.03,0.3",
                            "--kin", "-1", "--out", dir.str("d.csv"),
                            "--history", "T=0.03"});
  EXPECT_NE(r.err.find("warning: T = 0.03 s, ζ = 5 %: no analysis converged"), std::string::npos)
      << r.err;
  EXPECT_NE(r.err.find("warning: --history T=0.03: no yield strength"), std::string::npos)
      << r.err;
  const auto columns = csvColumns(dir.str("d.csv"));
  const std::vector<double>& cy = columns.at("Cy=fy/(m·g) ζ=0.05 [-]");
  ASSERT_EQ(cy.size(), 2u);
  EXPECT_TRUE(std::isnan(cy[0]));
}

TEST_F(MeasuresEndToEnd, ResamplingOffKeepsTheModulesNumbersAndOnFeedsItTheFinerRecord) {
  const std::vector<double> ag = record(8);
  const std::string file = at2("r.AT2", ag);
  const std::vector<double> T = {0.02, 0.05, 0.3};
  const ProgramRun off = run({"elastic", file, "--periods", "0.02,0.05,0.3", "--out",
                              dir.str("off.json"), "-q", "--history", "T=0.3"});
  EXPECT_NE(off.err.find("note: the shortest period T = 0.02 s spans 2 steps"), std::string::npos)
      << off.err;
  const ProgramRun on = run({"elastic", file, "--periods", "0.02,0.05,0.3", "--resample", "--out",
                             dir.str("on.json"), "-q"});
  EXPECT_EQ(on.err.find("spans 2 steps"), std::string::npos) << on.err;
  EXPECT_NE(on.err.find("resampled by 5"), std::string::npos) << on.err;
  const auto psa = [&](const std::string& name) {
    std::vector<double> values;
    const Json doc = Json::parse(clitest::readFile(dir.str(name)));
    for (const Json& row : doc["fields"]["psdAcc"]["data"]) values.push_back(fromJson(row[0]));
    return values;
  };
  const host::Outcome module =
      support::call(quorvel::mexFunction, Args().add(si(ag)).add(kDt).add(1.0).add({0.05}).add(T));
  // The record is resampled as read, in g, then brought to m/s2 like any record.
  const host::Outcome finer = support::call(
      quorvel::mexFunction,
      Args().add(si(measures::resample(ag, 5))).add(kDt / 5).add(1.0).add({0.05}).add(T));
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_TRUE(sameBits(psa("off.json")[i], module.values("psdAcc")[i]));
    EXPECT_TRUE(sameBits(psa("on.json")[i], finer.values("psdAcc")[i]));
  }
  // Two components whose steps differ by a whole factor are paired when resampling is asked for.
  const std::string fine = at2("fine.AT2", measures::resample(ag, 2), kDt / 2);
  const ProgramRun refused =
      clitest::runProgram(dir, {"elastic2d", file, fine, "--periods", "0.3", "-q"});
  EXPECT_NE(refused.status, 0);
  EXPECT_NE(refused.err.find("different time steps"), std::string::npos) << refused.err;
  const ProgramRun paired = run({"elastic2d", file, fine, "--periods", "0.3", "--resample", "1",
                                 "-q", "--out", dir.str("pair.csv")});
  EXPECT_NE(paired.err.find("r.AT2 resampled by 2"), std::string::npos) << paired.err;
}

TEST_F(MeasuresEndToEnd, RotdTableIsTheMeasureBitForBit) {
  const std::vector<double> a = record(9), b = record(10, 480);
  const ProgramRun r = run({"rotd", at2("a.AT2", a), at2("b.AT2", b), "--periods", "0.2,1",
                            "--zeta", "0.05", "--percentiles", "0,50,100", "--out",
                            dir.str("r.csv"), "--plot", dir.str("r.svg")});
  EXPECT_NE(r.out.find("PSA RotD50"), std::string::npos) << r.out;
  const measures::RotDSpectra s = measures::rotdSpectra(si(a), si(b), kDt, {0.2, 1.0}, {0.05});
  const auto columns = csvColumns(dir.str("r.csv"));
  for (std::size_t i = 0; i < 2; ++i) {
    EXPECT_TRUE(sameBits(columns.at("PSA RotD50 ζ=0.05 [m/s2]")[i], s.psa[s.rotDIndex(1, i, 0)]));
    EXPECT_TRUE(sameBits(columns.at("Sd RotD100 ζ=0.05 [m]")[i], s.sd[s.rotDIndex(2, i, 0)]));
    EXPECT_TRUE(sameBits(columns.at("PSA geometric mean ζ=0.05 [m/s2]")[i], s.geoMeanPsa[i]));
    EXPECT_TRUE(sameBits(columns.at("angle of RotD100 ζ=0.05 [deg]")[i], s.angleRotD100[i]));
  }
  // RotD100 never exceeds the peak of the resultant that elastic2d returns.
  const host::Outcome resultant = support::call(
      daskent::mexFunction,
      Args().add(si(a)).add(si(b)).add(kDt).add(1.0).add({0.05}).add({0.2, 1.0}));
  for (std::size_t i = 0; i < 2; ++i)
    EXPECT_LE(columns.at("PSA RotD100 ζ=0.05 [m/s2]")[i], resultant.values("psdAcc")[i]);
  EXPECT_NE(clitest::readFile(dir.str("r.svg")).find("<svg"), std::string::npos);
}

TEST_F(MeasuresEndToEnd, TargetComparisonAndTheScaleFactorOfOneRecord) {
  const std::vector<double> ag = record(11);
  const ProgramRun r =
      run({"elastic", at2("r.AT2", ag), "--periods", "0.1:2:20", "--zeta", "0.02,0.05",
           "--target", "asce7:SDS=1.0,SD1=0.6,TL=8", "--plot",
           dir.str("t.png"), "--scale-to-target", "--range", "0.2:1.5", "-q"});
  EXPECT_EQ(clitest::readFile(dir.str("t.png")).substr(1, 3), "PNG");
  const host::Outcome module = support::call(
      quorvel::mexFunction,
      Args().add(si(ag)).add(kDt).add(1.0).add({0.02, 0.05}).add(0.1).add(2.0).add(20.0));
  const std::vector<double> all = inG(module.values("psdAcc"));
  const measures::RecordScaling s =
      measures::scaleRecord(module.values("T"), {"r", std::vector<double>(all.begin() + 20, all.end())},
                            measures::Asce7Spectrum(1.0, 0.6, 8.0), {0.2, 1.5});
  EXPECT_NE(r.out.find(fmt::format("f = {:.6g}", s.factor)), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("(ζ = 5 %)"), std::string::npos) << r.out;
  // The target is for 5 %: a run without it cannot be compared.
  const ProgramRun missing = clitest::runProgram(
      dir, {"elastic", dir.str("r.AT2"), "--zeta", "0.02", "--target", "asce7:SDS=1,SD1=0.6,TL=8",
            "-q"});
  EXPECT_NE(missing.status, 0);
  EXPECT_NE(missing.err.find("add 0.05 to --zeta"), std::string::npos) << missing.err;
}

TEST_F(MeasuresEndToEnd, SuiteStatisticsAndScaleFactorsOfABatch) {
  std::vector<std::string> files;
  std::vector<measures::RecordSpectrum> spectra;
  std::vector<double> periods;
  for (std::uint64_t seed = 12; seed < 15; ++seed) {
    const std::vector<double> ag = record(seed, 500, 0.1 * static_cast<double>(seed - 10));
    files.push_back(at2(fmt::format("r{}.AT2", seed), ag));
    const host::Outcome m = support::call(
        quorvel::mexFunction,
        Args().add(si(ag)).add(kDt).add(1.0).add({0.05}).add(0.1).add(2.0).add(20.0));
    spectra.push_back({fmt::format("r{}.AT2", seed), inG(m.values("psdAcc"))});
    periods = m.values("T");
  }
  std::vector<std::string> args = {"elastic", "--periods", "0.1:2:20",
                                   "--out-dir", dir.str("out"), "--suite-stats", "--target",
                                   "ec8:type=1,ground=C,ag=0.3", "--scale-to-target", "--range",
                                   "0.2:1", "--rule", "ec8", "--jobs", "2"};
  args.insert(args.begin() + 1, files.begin(), files.end());
  const ProgramRun r = run(args);
  EXPECT_NE(r.out.find("common factor"), std::string::npos) << r.out;
  const measures::SuiteStatistics stats = measures::suiteStatistics(periods, spectra);
  const auto suite = csvColumns(dir.str("out/suite.csv"));
  for (std::size_t i = 0; i < periods.size(); ++i) {
    EXPECT_TRUE(sameBits(suite.at("log-mean Sa [g]")[i], stats.logMean[i]));
    EXPECT_TRUE(sameBits(suite.at("Sa +1σ [g]")[i], stats.plusSigma[i]));
  }
  const measures::SuiteScaling s = measures::scaleSuite(
      periods, spectra, measures::Eurocode8Spectrum(measures::Eurocode8Type::type1,
                                                    measures::GroundType::C, 0.3),
      {0.2, 1.0}, 0.9);
  std::stringstream scaling(clitest::readFile(dir.str("out/scaling.csv")));
  std::string line;
  std::getline(scaling, line);
  for (std::size_t k = 0; std::getline(scaling, line); ++k) {
    EXPECT_EQ(line.substr(0, line.find(',')), spectra[k].name);
    const std::string factor = line.substr(line.find(',') + 1);
    EXPECT_TRUE(sameBits(*records::parseNumber(factor.substr(0, factor.find(','))), s.factors[k]));
  }
}

TEST_F(MeasuresEndToEnd, ShardsOfABatchWriteEveryOutputOnce) {
  std::vector<std::string> files;
  for (int k = 0; k < 5; ++k) files.push_back(at2(fmt::format("s{}.AT2", 4 - k), record(20 + k, 200)));
  std::multiset<std::string> written;
  for (int i = 1; i <= 3; ++i) {
    std::vector<std::string> args = {"elastic", "--periods", "0.5", "--out-dir",
                                     dir.str(fmt::format("out{}", i)), "--shard",
                                     fmt::format("{}/3", i)};
    args.insert(args.begin() + 1, files.begin(), files.end());
    const ProgramRun r = run(args);
    EXPECT_NE(r.err.find(fmt::format("shard {}/3 holds", i)), std::string::npos) << r.err;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path(fmt::format("out{}", i))))
      written.insert(entry.path().filename().string());
  }
  EXPECT_EQ(written, (std::multiset<std::string>{"s0.csv", "s1.csv", "s2.csv", "s3.csv", "s4.csv"}));
  EXPECT_TRUE(std::filesystem::exists(dir.path("out1/s0.csv")));
  EXPECT_TRUE(std::filesystem::exists(dir.path("out1/s3.csv")));
}

// Each request that cannot work: non-zero status, one line naming the option, no output.
TEST_F(MeasuresEndToEnd, BadMeasureRequestsFailClearlyWithoutOutput) {
  const std::string good = at2("good.AT2", record(30));
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const std::vector<Case> cases = {
      {{"elastic", good, "--history", "T=1,frn=0.1"}, "--history: expected T=PERIOD[,zeta=VALUE]"},
      {{"elastic", good, "--resample", "0"}, "--resample: give a whole factor"},
      {{"elastic", good, "--target", "asce7:SDS=1"}, "--target asce7: expected"},
      {{"elastic", good, "--target", dir.str("none.txt")}, "none.txt: cannot open"},
      {{"elastic", good, "--scale-to-target", "--range", "1:2"}, "--scale-to-target needs a --target"},
      {{"elastic", good, good, "--out-dir", dir.str("o"), "--shard", "4/3"}, "--shard: expected I/N"},
      {{"rotd", good, good, "--method", "newmark"}, "leave out --method newmark"},
      {{"inelastic", good, "--R", "4", "--search", "module"}, "--search chooses"},
      {{"inelastic", good, "--mu", "0.5"}, "a target ductility must be at least 1"},
      {{"elastic", good, "--history", "T=1", "--plot", dir.str("x.gif")}, "x.gif: plots are written"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.end(), {"--out", dir.str("out.csv")});
    const ProgramRun r = clitest::runProgram(dir, args);
    EXPECT_NE(r.status, 0) << c.message;
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir.path("out.csv"))) << c.message;
  }
}

}  // namespace
