// Command-line options: periods, defaults that follow units, calling forms of every module.
#include "cli/app/options.h"

#include <gtest/gtest.h>

#include "cli/app/error.h"
#include "cli/app/gateway_call.h"
#include "cli/app/parameters.h"
#include "cli/app/periods.h"
#include "core/spectra/quantities.h"

namespace {

using cli::Error;

cli::Request parsed(std::vector<const char*> args) {
  args.insert(args.begin(), "spectra");
  cli::CommandLine commandLine;
  commandLine.parse(static_cast<int>(args.size()), args.data());
  return commandLine.request();
}

TEST(Periods, ListRangeAndLogSpacing) {
  EXPECT_EQ(cli::parsePeriods("0.1,0.2, 0.5").list, (std::vector<double>{0.1, 0.2, 0.5}));
  const cli::Periods range = cli::parsePeriods("0.02:5:250");
  EXPECT_TRUE(range.generated);
  EXPECT_EQ(range.start, 0.02);
  EXPECT_EQ(range.end, 5.0);
  EXPECT_EQ(range.count, 250);
  const cli::Periods log = cli::parseLogPeriods("0.01:10:4");
  ASSERT_EQ(log.list.size(), 4u);
  EXPECT_EQ(log.list.front(), 0.01);
  EXPECT_EQ(log.list.back(), 10.0);
  EXPECT_NEAR(log.list[1], 0.1, 1e-15);
  EXPECT_EQ(cli::parseLogPeriods("2:10:1").list, (std::vector<double>{2.0}));
}

TEST(Periods, RefuseEmptyNonPositiveAndMalformed) {
  for (const char* text : {"", ",", "0.1,,0.2", "0.1,-0.2", "0", "0.1,nan", "x", "0:5:10", "0.1:5",
                           "0.1:5:0", "0.1:5:2.5", "0.1:-5:10", "0.1:5:10:2"})
    EXPECT_THROW(cli::parsePeriods(text), Error) << text;
  EXPECT_THROW(cli::parseLogPeriods("0.1,0.2"), Error);
}

TEST(CommandLine, ModulesByCommandOrNameInAnyCase) {
  EXPECT_EQ(parsed({"elastic", "r.AT2"}).module->name, "Quorvel");
  EXPECT_EQ(parsed({"QUORVEL", "r.AT2"}).module->command, "elastic");
  EXPECT_EQ(parsed({"Lrb2D", "a", "b"}).module->name, "Vintarrow");
  const cli::Request demo = parsed({"demo"});
  EXPECT_TRUE(demo.demo.enabled);
  EXPECT_EQ(demo.module->command, "elastic");
  EXPECT_THROW(parsed({"plastic", "r.AT2"}), CLI::ParseError);
  EXPECT_THROW(parsed({"elastic", "r.AT2", "--frn", "0.1"}), CLI::ParseError);
  EXPECT_THROW(parsed({"elastic", "r.AT2", "--method", "Recform"}), CLI::ParseError);
  EXPECT_THROW(parsed({"elastic", "r.AT2", "--periods", "1", "--log-periods", "1:2:3"}),
               CLI::ParseError);
}

TEST(Parameters, InelasticNeedsExactlyOneStrength) {
  const cli::Parameters r =
      cli::resolveParameters(parsed({"inelastic", "r", "--R", "4", "--kin", "0.02"}));
  EXPECT_EQ(r.strength, "R");
  EXPECT_EQ(r.para, 4.0);
  EXPECT_EQ(r.kin, 0.02);
  const cli::Parameters named = cli::resolveParameters(
      parsed({"inelastic", "r", "--strength", "DuctilityFactor", "--para", "3"}));
  EXPECT_EQ(named.strength, "ductilityFactor");
  EXPECT_THROW(cli::resolveParameters(parsed({"inelastic", "r"})), Error);
  EXPECT_THROW(cli::resolveParameters(parsed({"inelastic", "r", "--R", "4", "--mu", "2"})), Error);
  EXPECT_THROW(cli::resolveParameters(parsed({"inelastic", "r", "--strength", "R"})), Error);
  EXPECT_THROW(
      cli::resolveParameters(parsed({"inelastic", "r", "--strength", "strong", "--para", "1"})),
      Error);
}

TEST(Parameters, DefaultsFollowTheAnalysisUnitsNotTheOutputUnits) {
  const cli::Parameters si = cli::resolveParameters(parsed({"lrb", "r", "--mass", "2"}));
  EXPECT_EQ(si.analysis.acceleration, "m/s2");
  EXPECT_EQ(si.swept.at(0), 0.05 * 2 * 9.80665);
  EXPECT_EQ(si.weightShares, (std::vector<double>{0.05}));
  // Output units change the outputs only: the analysis keeps standard gravity in m/s2 and 1 mm.
  const cli::Parameters inches =
      cli::resolveParameters(parsed({"fps", "r", "--out-units", "in/s2"}));
  EXPECT_EQ(inches.gravity, 9.80665);
  EXPECT_EQ(inches.uy, 0.001);
  EXPECT_EQ(inches.units.of(core::Quantity::Acceleration).name, "in/s2");
  EXPECT_EQ(cli::resolveParameters(parsed({"fps", "r", "--g", "9.81"})).gravity, 9.81);

  const cli::Parameters weight = cli::resolveParameters(parsed({"fps", "r", "--weight", "100"}));
  EXPECT_EQ(weight.module->fields[1], "W");
  EXPECT_EQ(weight.analysis.acceleration, "in/s2");
  EXPECT_DOUBLE_EQ(weight.uy, 0.001 / 0.0254);
  EXPECT_EQ(weight.units.of(core::Quantity::Force).name, "lbf");
  const cli::Parameters weightInG =
      cli::resolveParameters(parsed({"fps", "r", "--weight", "1", "--out-units", "g"}));
  EXPECT_EQ(weightInG.units.of(core::Quantity::Acceleration).factor, 0.0254 / 9.80665);
  EXPECT_THROW(cli::resolveParameters(parsed({"fps", "r", "--weight", "1", "--g", "386"})), Error);
  EXPECT_THROW(parsed({"fps", "r", "--weight", "1", "--mass", "2"}), CLI::ParseError);
}

TEST(Parameters, StrengthsAsForcesOrSharesOfTheWeight) {
  const cli::Parameters shares =
      cli::resolveParameters(parsed({"lrb2d", "a", "b", "--mass", "3", "--qd-ratio", "0.03,0.06"}));
  EXPECT_EQ(shares.weightShares, (std::vector<double>{0.03, 0.06}));
  EXPECT_EQ(shares.swept, (std::vector<double>{0.03 * 3 * 9.80665, 0.06 * 3 * 9.80665}));
  const cli::Parameters forces = cli::resolveParameters(parsed({"lrb", "r", "--qd", "500"}));
  EXPECT_TRUE(forces.weightShares.empty());
  EXPECT_EQ(forces.swept, (std::vector<double>{500}));
  EXPECT_THROW(parsed({"lrb", "r", "--qd", "1", "--qd-ratio", "0.1"}), CLI::ParseError);
  EXPECT_THROW(parsed({"elastic", "r", "--qd-ratio", "0.1"}), CLI::ParseError);
}

// Number of gateway inputs for the vector and the generated period forms, per module.
TEST(GatewayInputs, MatchTheCallingFormsOfEveryModule) {
  struct Case {
    std::vector<const char*> args;
    std::size_t vectorForm;
  };
  const std::vector<Case> cases = {
      {{"elastic", "r"}, 5},
      {{"elastic", "r", "--method", "newmark"}, 6},
      {{"elastic2d", "a", "b"}, 6},
      {{"inelastic", "r", "--mu", "2"}, 9},
      {{"fps", "r"}, 7},
      {{"fps", "r", "--weight", "5"}, 6},
      {{"fps2d", "a", "b"}, 8},
      {{"lrb", "r"}, 6},
      {{"lrb2d", "a", "b"}, 7},
  };
  const std::vector<std::vector<double>> components = {{0.1, 0.2}, {0.3, 0.4}};
  for (const Case& c : cases) {
    std::vector<const char*> listed = c.args, ranged = c.args;
    listed.insert(listed.end(), {"--periods", "0.5,1"});
    ranged.insert(ranged.end(), {"--periods", "0.5:1:2"});
    EXPECT_EQ(cli::gatewayInputs(cli::resolveParameters(parsed(listed)), components, 0.01).size(),
              c.vectorForm)
        << c.args.front();
    EXPECT_EQ(cli::gatewayInputs(cli::resolveParameters(parsed(ranged)), components, 0.01).size(),
              c.vectorForm + 2)
        << c.args.front();
  }
}

}  // namespace
