// The measures' options of the program: history requests, shards that cover a batch once,
// target spectra from options and files, period ranges, resampling and the rotd command.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>

#include "cli/app/error.h"
#include "cli/app/history_run.h"
#include "cli/app/measure_run.h"
#include "cli/app/options.h"
#include "cli/app/parameters.h"
#include "cli/app/resampling.h"
#include "cli/app/shard.h"
#include "cli/app/target_option.h"
#include "measures/design_spectra.h"

namespace {

using cli::Error;

cli::Request parsed(std::vector<const char*> args) {
  args.insert(args.begin(), "spectra");
  cli::CommandLine commandLine;
  commandLine.parse(static_cast<int>(args.size()), args.data());
  return commandLine.request();
}

TEST(HistoryRequest, PeriodAndTheModulesSweptValueInAnyCase) {
  const cli::HistoryRequest a = cli::parseHistoryRequest("T=1.5", "zeta");
  EXPECT_EQ(a.period, 1.5);
  EXPECT_FALSE(a.value);
  const cli::HistoryRequest b = cli::parseHistoryRequest("t=2,Qd=0.3", "Qd");
  EXPECT_EQ(b.period, 2.0);
  EXPECT_EQ(*b.value, 0.3);
  EXPECT_EQ(*cli::parseHistoryRequest("frn=0.04,T=3", "frn").value, 0.04);
  for (const char* bad : {"", "1.5", "T=", "T=x", "T=-1", "T=0", "zeta=0.05", "T=1,frn=0.1",
                          "T=1,zeta=0.05,zeta=0.02", "T=1,T=2", "T=1,,zeta=0.05"})
    EXPECT_THROW(cli::parseHistoryRequest(bad, "zeta"), Error) << bad;
}

TEST(HistoryRequest, FilesGoBesideTheRunsOutputs) {
  EXPECT_EQ(cli::besidePath("out/rec.csv", "history-T1-zeta0.05"),
            "out/rec-history-T1-zeta0.05.csv");
  EXPECT_EQ(cli::besidePath("plot.svg", "history-T2-frn0.1"), "plot-history-T2-frn0.1.svg");
  EXPECT_EQ(cli::besidePath("", "history-T1-zeta0.05"), "");
}

TEST(Shard, ParsesIOfN) {
  const cli::Shard s = cli::parseShard("3/10");
  EXPECT_EQ(s.index, 3);
  EXPECT_EQ(s.count, 10);
  for (const char* bad : {"", "3", "0/3", "4/3", "1/0", "a/3", "1.5/3", "-1/3", "1/nan", "2/3/4"})
    EXPECT_THROW(cli::parseShard(bad), Error) << bad;
}

// Every item of the batch in exactly one of the N shards, whatever order the files came in, and
// the same shards from any order.
TEST(Shard, ShardsOneToFiveCoverABatchExactlyOnce) {
  std::vector<std::vector<std::string>> pairs;
  for (const char* station : {"d", "a", "c", "e", "b", "g", "f"})
    pairs.push_back({std::string(station) + "-000.AT2", std::string(station) + "-090.AT2"});
  const auto key = [](const std::vector<std::string>& files) { return files; };
  for (int n = 1; n <= 5; ++n) {
    std::map<std::vector<std::string>, int> seen;
    for (int i = 1; i <= n; ++i) {
      const auto shard = cli::shardOf(pairs, {i, n}, key);
      std::vector<std::vector<std::string>> reversed(pairs.rbegin(), pairs.rend());
      EXPECT_EQ(cli::shardOf(reversed, {i, n}, key), shard) << i << "/" << n;
      for (const auto& item : shard) ++seen[item];
      EXPECT_LE(shard.size(), (pairs.size() + n - 1) / n);
    }
    EXPECT_EQ(seen.size(), pairs.size()) << "N = " << n;
    for (const auto& [item, count] : seen) EXPECT_EQ(count, 1) << item.front() << ", N = " << n;
  }
  // Sorted by path: shard 1 of 3 takes the 1st, 4th and 7th.
  const auto first = cli::shardOf(pairs, {1, 3}, key);
  ASSERT_EQ(first.size(), 3u);
  EXPECT_EQ(first[0].front(), "a-000.AT2");
  EXPECT_EQ(first[1].front(), "d-000.AT2");
  EXPECT_EQ(first[2].front(), "g-000.AT2");
}

TEST(Target, CodeSpectraFromTheirParameters) {
  const cli::Target asce = cli::parseTarget("asce7:SDS=1.0,sd1=0.6,TL=8");
  EXPECT_EQ(*asce.dampingRatio, 0.05);
  EXPECT_EQ(asce.spectrum->sa(1.0), 0.6);  // SD1/T on the constant-velocity branch
  const cli::Target ec8 = cli::parseTarget("EC8:type=1,ground=B,ag=0.25,zeta=0.1");
  EXPECT_EQ(*ec8.dampingRatio, 0.1);
  const measures::Eurocode8Spectrum direct(measures::Eurocode8Type::type1,
                                           measures::GroundType::B, 0.25, 0.1);
  EXPECT_EQ(ec8.spectrum->sa(0.3), direct.sa(0.3));
  for (const char* bad :
       {"asce7:SDS=1.0,SD1=0.6", "asce7:SDS=1,SD1=0.6,TL=8,Q=2", "asce7:SDS=-1,SD1=0.6,TL=8",
        "asce7:SDS=1,SDS=1,SD1=0.6,TL=8", "ec8:type=3,ground=B,ag=0.25", "ec8:type=1,ag=0.25",
        "ec8:type=1,ground=F,ag=0.25", "no-such-file.txt"})
    EXPECT_THROW(cli::parseTarget(bad), Error) << bad;
}

TEST(Target, FileOfPeriodsAndSaWithAHeaderAndComments) {
  const std::string path = ::testing::TempDir() + "target_spectrum.csv";
  std::ofstream(path) << "T (s), Sa (g)\n# design\n0, 0.4\n0.5; 1.0\n2.0\t0.25\n";
  const cli::Target t = cli::parseTarget(path);
  EXPECT_FALSE(t.dampingRatio);
  EXPECT_EQ(t.spectrum->sa(0.5), 1.0);
  EXPECT_EQ(t.spectrum->sa(0.25), 0.7);  // linear in T from the row at T = 0
  EXPECT_EQ(t.spectrum->longestPeriod(), 2.0);
  std::ofstream(path) << "T,Sa\n0.5,1.0\n1.0,abc\n";
  try {
    cli::parseTarget(path);
    FAIL() << "expected an error";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("target_spectrum.csv:3: expected two numbers"),
              std::string::npos)
        << e.what();
  }
}

TEST(Target, PeriodRange) {
  const measures::PeriodRange r = cli::parseRange("0.2:2");
  EXPECT_EQ(r.shortest, 0.2);
  EXPECT_EQ(r.longest, 2.0);
  EXPECT_EQ(cli::parseRange("1:1").longest, 1.0);
  for (const char* bad : {"", "0.2", "2:0.2", "0:1", "-1:1", "a:b", "1:inf"})
    EXPECT_THROW(cli::parseRange(bad), Error) << bad;
}

TEST(MeasureOptions, RotdCommandIsElastic2dWithRotd) {
  const cli::Request rotd = parsed({"rotd", "a", "b", "--percentiles", "50,100"});
  EXPECT_EQ(rotd.module->name, "Daskent");
  EXPECT_TRUE(rotd.measures.rotd);
  EXPECT_EQ(rotd.measures.percentiles, "50,100");
  EXPECT_FALSE(parsed({"elastic2d", "a", "b"}).measures.rotd);
  EXPECT_TRUE(parsed({"elastic2d", "a", "b", "--rotd"}).measures.rotd);
  EXPECT_THROW(parsed({"elastic", "a", "--rotd"}), CLI::ParseError);
  EXPECT_THROW(parsed({"lrb", "a", "--target", "asce7:SDS=1,SD1=1,TL=8"}), CLI::ParseError);
  EXPECT_THROW(parsed({"elastic", "a", "--search", "module"}), CLI::ParseError);
}

TEST(MeasureOptions, HistoriesRepeatAndResampleTakesAnOptionalFactor) {
  const cli::Request r =
      parsed({"lrb", "--history", "T=1", "rec.AT2", "--history", "T=2,qd=0.5", "--resample"});
  EXPECT_EQ(r.files, std::vector<std::string>{"rec.AT2"});
  EXPECT_EQ(r.measures.histories, (std::vector<std::string>{"T=1", "T=2,qd=0.5"}));
  ASSERT_TRUE(r.measures.resample);
  EXPECT_EQ(*r.measures.resample, "");
  EXPECT_EQ(*parsed({"elastic", "rec.AT2", "--resample", "4"}).measures.resample, "4");
  EXPECT_FALSE(parsed({"elastic", "rec.AT2"}).measures.resample);
}

TEST(MeasureOptions, ShortestPeriodOfListsAndGeneratedRanges) {
  const cli::Request list = parsed({"elastic", "r", "--periods", "0.5,0.02,1"});
  EXPECT_EQ(cli::shortestPeriod(cli::resolveParameters(list)), 0.02);
  const cli::Request down = parsed({"elastic", "r", "--periods", "2:0.1:20"});
  EXPECT_NEAR(cli::shortestPeriod(cli::resolveParameters(down)), 0.1, 1e-12);
}

// Only the module's plain run keeps the module's path; any measure, and a target ductility by
// the largest-strength rule, takes the measures' run.
TEST(MeasureOptions, WhichRunsTheMeasuresTake) {
  const auto uses = [](std::vector<const char*> args) {
    const cli::Request r = parsed(std::move(args));
    return cli::usesMeasures(r, cli::resolveParameters(r));
  };
  EXPECT_FALSE(uses({"elastic", "r"}));
  EXPECT_FALSE(uses({"inelastic", "r", "--R", "4"}));
  EXPECT_TRUE(uses({"inelastic", "r", "--mu", "4"}));
  EXPECT_TRUE(uses({"inelastic", "r", "--strength", "ductilityFactor", "--para", "3"}));
  EXPECT_TRUE(uses({"fps", "r", "--history", "T=2"}));
  EXPECT_TRUE(uses({"elastic", "r", "--resample"}));
  EXPECT_TRUE(uses({"elastic", "r", "s", "--out-dir", "o", "--shard", "1/2"}));
  EXPECT_TRUE(uses({"rotd", "a", "b"}));
}

TEST(MeasureOptions, RequestsThatCannotWorkFailBeforeAnyWork) {
  const auto check = [](std::vector<const char*> args) {
    const cli::Request r = parsed(std::move(args));
    cli::checkMeasureRequest(r, cli::resolveParameters(r));
  };
  const std::vector<std::vector<const char*>> bad = {
      {"elastic", "r", "--history", "T=1,frn=0.1"},
      {"elastic", "r", "--resample", "0"},
      {"elastic", "r", "--resample", "2.5"},
      {"elastic", "r", "s", "--out-dir", "o", "--shard", "3/2"},
      {"elastic", "r", "--scale-to-target", "--range", "0.2:2"},
      {"elastic", "r", "--target", "asce7:SDS=1,SD1=0.6,TL=8", "--scale-to-target"},
      {"elastic", "r", "--range", "0.2:2"},
      {"elastic", "r", "--suite-stats"},
      {"elastic", "r", "s", "--out-dir", "o", "--rule", "ec8"},
      {"inelastic", "r", "--R", "4", "--search", "largest"},
      {"rotd", "a", "b", "--method", "newmark"},
      {"rotd", "a", "b", "--percentiles", "50,101"},
      {"rotd", "a", "b", "--angle-step", "0"},
      {"rotd", "a", "b", "--fields", "dsp"},
      {"inelastic", "r", "--mu", "4", "--out", "r.txt"},
      {"rotd", "a", "b", "--tripartite"},
      {"elastic", "r", "--target", "asce7:SDS=1,SD1=0.6,TL=8", "--tripartite"},
  };
  for (const auto& args : bad) EXPECT_THROW(check(args), Error) << args[0] << " " << args[2];
  EXPECT_NO_THROW(check({"elastic", "r", "s", "--out-dir", "o", "--shard", "2/2", "--resample",
                         "--history", "T=1,zeta=0.02"}));
}

}  // namespace
