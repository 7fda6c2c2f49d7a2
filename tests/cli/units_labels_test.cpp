// Output units per quantity, the labels built from them, and the "did you mean" matcher.
#include <gtest/gtest.h>

#include "cli/app/error.h"
#include "cli/app/suggestions.h"
#include "cli/writers/labels.h"
#include "cli/writers/quantity_units.h"

namespace {

using core::Quantity;

TEST(QuantityUnits, FactorsFromTheAnalysisUnits) {
  const cli::OutputUnits si;  // no conversion at all
  for (Quantity q : {Quantity::Acceleration, Quantity::Velocity, Quantity::Displacement,
                     Quantity::Force, Quantity::Mass, Quantity::Period, Quantity::Ratio})
    EXPECT_EQ(si.of(q).factor, 1.0);
  EXPECT_EQ(si.of(Quantity::Acceleration).display, "m/s²");
  EXPECT_EQ(si.ofField("dsp").name, "m");
  EXPECT_EQ(si.ofField("iFrc").name, "N");
  EXPECT_EQ(si.ofField("muFact").name, "");
  EXPECT_EQ(si.ofField("noSuchField").name, "");

  const cli::OutputUnits chosen(cli::siAnalysis(), {"", "g", "cm/s", "mm", "kip"});
  EXPECT_EQ(chosen.of(Quantity::Acceleration).factor, 1.0 / 9.80665);
  EXPECT_EQ(chosen.of(Quantity::Velocity).factor, 1.0 / 0.01);
  EXPECT_EQ(chosen.of(Quantity::Displacement).factor, 1.0 / 0.001);
  EXPECT_EQ(chosen.of(Quantity::Force).factor, 1.0 / 4448.2216152605);
  EXPECT_EQ(chosen.of(Quantity::Period).name, "s");

  // The weight variant works in inches and pounds.
  const cli::OutputUnits fromInches(cli::inchPoundAnalysis(), {"SI", "", "", "", ""});
  EXPECT_EQ(fromInches.of(Quantity::Displacement).factor, 0.0254);
  EXPECT_EQ(fromInches.of(Quantity::Force).factor, 4.4482216152605);
  EXPECT_EQ(fromInches.of(Quantity::Mass).name, "lbf*s2/in");
}

TEST(QuantityUnits, SystemsAliasesAndUnknownNames) {
  const cli::OutputUnits us(cli::siAnalysis(), {"us", "", "", "", ""});
  EXPECT_EQ(us.of(Quantity::Acceleration).name, "g");
  EXPECT_EQ(us.of(Quantity::Velocity).name, "in/s");
  EXPECT_EQ(us.of(Quantity::Displacement).name, "in");
  EXPECT_EQ(us.of(Quantity::Force).name, "kip");
  const cli::OutputUnits aliases(cli::siAnalysis(), {"", "gal", "in/sec", "inches", "kips"});
  EXPECT_EQ(aliases.of(Quantity::Acceleration).name, "cm/s2");
  EXPECT_EQ(aliases.of(Quantity::Velocity).name, "in/s");
  EXPECT_EQ(aliases.of(Quantity::Force).name, "kip");
  const auto message = [](const cli::UnitRequest& request) {
    try {
      cli::OutputUnits(cli::siAnalysis(), request);
    } catch (const cli::Error& error) {
      return std::string(error.what());
    }
    return std::string();
  };
  EXPECT_EQ(message({"", "", "", "yards", ""}),
            "--disp-units: unknown displacement unit 'yards' (known: m, cm, mm, in, ft)");
  EXPECT_EQ(message({"", "", "m", "", ""}),
            "--vel-units: unknown velocity unit 'm' (known: m/s, cm/s, mm/s, in/s, ft/s)");
  EXPECT_EQ(message({"", "", "", "", "tonne"}),
            "--force-units: unknown force unit 'tonne' (known: N, kN, MN, lbf, kip)");
  EXPECT_NE(message({"", "m", "", "", ""}).find("--acc-units: unknown acceleration unit 'm'"),
            std::string::npos);
  EXPECT_EQ(message({"metric", "", "", "", ""}), "--unit-system: unknown system 'metric' (known: SI, US)");
}

TEST(Labels, WordsSymbolsAndUnits) {
  const cli::OutputUnits units(cli::siAnalysis(), {"", "g", "", "cm", "kN"});
  EXPECT_EQ(cli::axisLabel("psdAcc", units), "Pseudo-spectral acceleration Sa [g]");
  EXPECT_EQ(cli::axisLabel("dsp", units), "Spectral displacement Sd [cm]");
  EXPECT_EQ(cli::axisLabel("muFact", units), "Ductility factor μΔ");
  EXPECT_EQ(cli::axisLabel("effT", units), "Effective period Teff [s]");
  EXPECT_EQ(cli::columnLabel("rFrc", units), "FS [kN]");
  EXPECT_EQ(cli::columnLabel("RFact", units), "R");
  EXPECT_EQ(cli::periodAxisLabel(), "Period T [s]");
  EXPECT_EQ(cli::sweptLabel("zeta", 0.05, units), "ζ = 5 %");
  EXPECT_EQ(cli::sweptLabel("zeta", 0.07, units), "ζ = 7 %");  // 0.07 × 100 is 7.000000000000001
  EXPECT_EQ(cli::sweptLabel("frn", 0.06, units), "μ = 0.06");
  EXPECT_EQ(cli::sweptLabel("Qd", 4.9, units), "Qd = 4.9 kN");
  EXPECT_EQ(cli::weightShareLabel(0.03), "Qd/W = 0.03");
  EXPECT_EQ(cli::shortNumber(2.5e-5), "2.5e-05");
  EXPECT_EQ(cli::shortNumber(-0.0), "0");
}

TEST(Suggestions, NearestWithinAFewEdits) {
  EXPECT_EQ(cli::editDistance("elastc", "elastic"), 1u);
  EXPECT_EQ(cli::editDistance("recfrom", "recform"), 1u);  // one swap of neighbours
  EXPECT_EQ(cli::editDistance("PSDACC", "psdAcc"), 0u);
  EXPECT_EQ(cli::editDistance("", "abc"), 3u);
  const std::vector<std::string> options = {"--zeta", "--periods", "--mass", "--method"};
  EXPECT_EQ(cli::nearest("--zetta", options), "--zeta");
  EXPECT_EQ(cli::nearest("--perods", options), "--periods");
  EXPECT_EQ(cli::nearest("--colour", options), "");
  EXPECT_EQ(cli::nearest("lrb2", {"fps", "lrb2d"}), "lrb2d");  // one insertion
  EXPECT_EQ(cli::nearest("lrb", {"fps", "lrb2d"}), "");        // two are too many for 3 letters
  EXPECT_EQ(cli::nearest("xyz", {"fps", "lrb"}), "");
  EXPECT_EQ(cli::didYouMean("elastc", {"elastic", "inelastic"}), "; did you mean elastic?");
  EXPECT_EQ(cli::didYouMean("plastic", {"fps"}), "");
}

}  // namespace
