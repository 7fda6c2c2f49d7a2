// Design and tabulated target spectra: branch values, corner continuity, damping correction,
// interpolation and the refusal of nonsense parameters.
#include "measures/design_spectra.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "measures/error_of.h"

namespace {

using measures::Asce7Spectrum;
using measures::Eurocode8DesignSpectrum;
using measures::Eurocode8Spectrum;
using measures::Eurocode8Type;
using measures::GroundType;
using measures::TableSpectrum;

// The hand values below carry a few roundings of the formulas: 1e-13 relative bounds them.
void expectClose(double actual, double expected) {
  EXPECT_NEAR(actual, expected, 1e-13 * std::abs(expected)) << "expected " << expected;
}

bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// No published worked example of the spectra themselves could be retrieved, so these values
// are computed by hand from ASCE/SEI 7-16 eqs. (11.4-5)–(11.4-7) with SDS = 1.0 g, SD1 = 0.6 g,
// TL = 8 s: T0 = 0.2·0.6/1.0 = 0.12 s, TS = 0.6 s;
//   T = 0      Sa = 0.4·SDS                     = 0.4
//   T = 0.06   Sa = 1.0·(0.4 + 0.6·0.06/0.12)   = 0.7
//   T = 0.3    Sa = SDS                         = 1.0
//   T = 1.5    Sa = 0.6/1.5                     = 0.4
//   T = 10     Sa = 0.6·8/10²                   = 0.048
TEST(Asce7Spectrum, GivesTheHandComputedValueOfEachBranch) {
  const Asce7Spectrum spectrum(1.0, 0.6, 8.0);
  expectClose(spectrum.t0(), 0.12);
  expectClose(spectrum.ts(), 0.6);
  EXPECT_EQ(spectrum.sa(0.0), 0.4);
  expectClose(spectrum.sa(0.06), 0.7);
  EXPECT_EQ(spectrum.sa(0.3), 1.0);
  expectClose(spectrum.sa(1.5), 0.4);
  expectClose(spectrum.sa(10.0), 0.048);
}

// Each corner approached from both sides within 1e-12 s: the branches meet to rounding.
TEST(Asce7Spectrum, IsContinuousAtTheCornerPeriods) {
  const Asce7Spectrum spectrum(1.4, 0.75, 6.0);
  for (const double corner : {spectrum.t0(), spectrum.ts(), 6.0}) {
    const double below = spectrum.sa(corner * (1.0 - 1e-12));
    const double above = spectrum.sa(corner * (1.0 + 1e-12));
    EXPECT_NEAR(below, above, 1e-11 * below) << "corner " << corner;
  }
}

TEST(Asce7Spectrum, RefusesNonsenseParametersAndPeriods) {
  EXPECT_EQ(errorOf([] { Asce7Spectrum(-1.0, 0.6, 8.0); }),
            "ASCE 7-16 design spectrum: SDS = -1 g must be positive");
  EXPECT_TRUE(contains(errorOf([] { Asce7Spectrum(1.0, 0.0, 8.0); }), "SD1 = 0 g"));
  EXPECT_TRUE(contains(errorOf([] { Asce7Spectrum(1.0, 0.6, std::nan("")); }), "TL = nan s"));
  EXPECT_EQ(errorOf([] { Asce7Spectrum(0.5, 1.0, 1.0); }),
            "ASCE 7-16 design spectrum: TL = 1 s is shorter than TS = SD1/SDS = 2 s; the "
            "long-period transition period (4 to 16 s on the maps) must not be shorter than TS");
  const Asce7Spectrum spectrum(1.0, 0.6, 8.0);
  EXPECT_EQ(errorOf([&] { spectrum.sa(-0.1); }),
            "ASCE 7-16 design spectrum (SDS = 1 g, SD1 = 0.6 g, TL = 8 s): period T = -0.1 s "
            "lies outside the periods it defines (T ≥ 0 s); choose periods within them");
  EXPECT_TRUE(contains(errorOf([&] { spectrum.sa(std::nan("")); }), "T = nan s is not a number"));
}

// Hand-computed from EN 1998-1 eqs. (3.2)–(3.5), Type 1, ground type C (S = 1.15, TB = 0.2 s,
// TC = 0.6 s, TD = 2 s), ag = 0.25 g, ζ = 5 % (η = 1); ag·S = 0.2875 g:
//   T = 0     Se = 0.2875
//   T = 0.1   Se = 0.2875·(1 + 0.1/0.2·(2.5 − 1)) = 0.2875·1.75 = 0.503125
//   T = 0.4   Se = 0.2875·2.5                     = 0.71875
//   T = 1     Se = 0.71875·0.6/1                  = 0.43125
//   T = 3     Se = 0.71875·0.6·2/9                = 0.0958333…
// Type 2, ground type D (S = 1.8, TB = 0.1, TC = 0.3, TD = 1.2 s), ag = 0.1 g, ζ = 10 %:
//   η = √(10/15) = 0.8164966; plateau Se = 0.1·1.8·η·2.5 = 0.3674235
TEST(Eurocode8Spectrum, GivesTheHandComputedValueOfEachBranch) {
  const Eurocode8Spectrum type1(Eurocode8Type::type1, GroundType::C, 0.25);
  EXPECT_EQ(type1.eta(), 1.0);
  expectClose(type1.sa(0.0), 0.2875);
  expectClose(type1.sa(0.1), 0.503125);
  expectClose(type1.sa(0.4), 0.71875);
  expectClose(type1.sa(1.0), 0.43125);
  expectClose(type1.sa(3.0), 0.71875 * 1.2 / 9.0);
  const Eurocode8Spectrum type2(Eurocode8Type::type2, GroundType::D, 0.1, 0.10);
  expectClose(type2.sa(0.2), 0.1 * 1.8 * std::sqrt(10.0 / 15.0) * 2.5);
  EXPECT_EQ(type2.description(),
            "EN 1998-1 Type 2 elastic spectrum (ground type D, ag = 0.1 g, ζ = 10 %)");
}

// The recommended values of Tables 3.2 and 3.3, the ground types in order A to E.
TEST(Eurocode8Spectrum, UsesTheRecommendedSoilFactorsAndCornerPeriods) {
  const double type1[5][4] = {{1.00, 0.15, 0.40, 2.0}, {1.20, 0.15, 0.50, 2.0},
                              {1.15, 0.20, 0.60, 2.0}, {1.35, 0.20, 0.80, 2.0},
                              {1.40, 0.15, 0.50, 2.0}};
  const double type2[5][4] = {{1.00, 0.05, 0.25, 1.2}, {1.35, 0.05, 0.25, 1.2},
                              {1.50, 0.10, 0.25, 1.2}, {1.80, 0.10, 0.30, 1.2},
                              {1.60, 0.05, 0.25, 1.2}};
  for (int g = 0; g < 5; ++g) {
    for (const auto& [type, row] : {std::pair{Eurocode8Type::type1, type1[g]},
                                    std::pair{Eurocode8Type::type2, type2[g]}}) {
      const auto corners = measures::eurocode8Corners(type, static_cast<GroundType>(g));
      EXPECT_EQ(corners.s, row[0]) << g;
      EXPECT_EQ(corners.tb, row[1]) << g;
      EXPECT_EQ(corners.tc, row[2]) << g;
      EXPECT_EQ(corners.td, row[3]) << g;
    }
  }
}

TEST(Eurocode8Spectrum, IsContinuousAtTheCornerPeriodsOfEveryGroundType) {
  for (const auto type : {Eurocode8Type::type1, Eurocode8Type::type2}) {
    for (int g = 0; g < 5; ++g) {
      const Eurocode8Spectrum elastic(type, static_cast<GroundType>(g), 0.3, 0.02);
      const Eurocode8DesignSpectrum design(type, static_cast<GroundType>(g), 0.3, 1.5);
      const auto c = elastic.corners();
      for (const double corner : {c.tb, c.tc, c.td}) {
        for (const measures::TargetSpectrum* spectrum :
             {static_cast<const measures::TargetSpectrum*>(&elastic),
              static_cast<const measures::TargetSpectrum*>(&design)}) {
          const double below = spectrum->sa(corner * (1.0 - 1e-12));
          const double above = spectrum->sa(corner * (1.0 + 1e-12));
          EXPECT_NEAR(below, above, 1e-11 * below) << spectrum->description() << " at " << corner;
        }
      }
    }
  }
}

// η = √(10/(5 + ξ)): exactly 1 at 5 %, √2 without damping, and held at 0.55 from ξ ≈ 28 %.
TEST(Eurocode8Spectrum, DampingCorrectionIsOneAtFivePercentAndFloorsAt055) {
  EXPECT_EQ(measures::eurocode8DampingCorrection(0.05), 1.0);
  expectClose(measures::eurocode8DampingCorrection(0.0), std::sqrt(2.0));
  expectClose(measures::eurocode8DampingCorrection(0.20), std::sqrt(0.4));
  EXPECT_EQ(measures::eurocode8DampingCorrection(0.30), 0.55);
  const Eurocode8Spectrum damped(Eurocode8Type::type1, GroundType::A, 0.2, 0.0);
  expectClose(damped.sa(0.3), 0.2 * 2.5 * std::sqrt(2.0));
}

// Hand-computed from EN 1998-1 eqs. (3.13)–(3.16), Type 1, ground type B (S = 1.2, TB = 0.15,
// TC = 0.5, TD = 2 s), ag = 0.2 g, q = 3, β = 0.2; ag·S = 0.24 g:
//   T = 0    Sd = 0.24·2/3            = 0.16
//   T = 0.3  Sd = 0.24·2.5/3          = 0.2
//   T = 1    Sd = 0.2·0.5/1           = 0.1
//   T = 2    Sd = 0.2·0.5·2/4         = 0.05 (above β·ag = 0.04)
//   T = 3    Sd = 0.2·1/9 = 0.0222 → β·ag = 0.04
TEST(Eurocode8DesignSpectrum, GivesTheHandComputedValuesAndTheLowerBound) {
  const Eurocode8DesignSpectrum spectrum(Eurocode8Type::type1, GroundType::B, 0.2, 3.0);
  expectClose(spectrum.sa(0.0), 0.16);
  expectClose(spectrum.sa(0.3), 0.2);
  expectClose(spectrum.sa(1.0), 0.1);
  expectClose(spectrum.sa(2.0), 0.05);
  expectClose(spectrum.sa(3.0), 0.04);
  expectClose(spectrum.sa(8.0), 0.04);
}

TEST(Eurocode8Spectrum, RefusesNonsenseParametersAndPeriods) {
  EXPECT_EQ(errorOf([] { measures::eurocode8DampingCorrection(-0.01); }),
            "Eurocode 8 damping correction: damping ratio ζ = -0.01 must lie in [0, 1) (0.05 "
            "for 5 %)");
  // 5 meant as 5 %: refused rather than read as 500 %.
  EXPECT_TRUE(contains(
      errorOf([] { Eurocode8Spectrum(Eurocode8Type::type1, GroundType::A, 0.2, 5.0); }),
      "ζ = 5 must lie in [0, 1)"));
  EXPECT_EQ(errorOf([] { Eurocode8Spectrum(Eurocode8Type::type1, GroundType::A, 0.0); }),
            "Eurocode 8 elastic spectrum: ag = 0 g must be positive");
  EXPECT_TRUE(contains(
      errorOf([] { Eurocode8DesignSpectrum(Eurocode8Type::type1, GroundType::A, 0.2, 0.8); }),
      "behaviour factor q = 0.8 must be at least 1"));
  EXPECT_TRUE(contains(
      errorOf([] { Eurocode8DesignSpectrum(Eurocode8Type::type1, GroundType::A, 0.2, 2, -0.1); }),
      "β = -0.1 must not be negative"));
  const Eurocode8Spectrum spectrum(Eurocode8Type::type1, GroundType::A, 0.2);
  EXPECT_NO_THROW(spectrum.sa(4.0));  // the last period it defines
  EXPECT_TRUE(contains(errorOf([&] { spectrum.sa(4.5); }), "T = 4.5 s lies outside"));
}

TEST(Eurocode8Spectrum, ParsesTypesAndGroundTypesAndNamesTheChoices) {
  EXPECT_EQ(measures::parseEurocode8Type("Type 1"), Eurocode8Type::type1);
  EXPECT_EQ(measures::parseEurocode8Type("2"), Eurocode8Type::type2);
  EXPECT_EQ(measures::parseGroundType("c"), GroundType::C);
  EXPECT_EQ(measures::parseGroundType(" E "), GroundType::E);
  EXPECT_EQ(errorOf([] { measures::parseGroundType("S1"); }),
            "unknown Eurocode 8 ground type 'S1' (choose A, B, C, D or E; ground types S1 and "
            "S2 need a site-specific spectrum)");
  EXPECT_TRUE(contains(errorOf([] { measures::parseEurocode8Type("3"); }), "'3'"));
}

// Between (0.1 s, 1.0 g) and (1.0 s, 0.1 g) the log-log line gives Sa = 0.1/T: at the
// logarithmic midpoint T = √0.1 s, Sa = √0.1 g. From a row at T = 0 the interpolation is
// linear in T: halfway from (0, 0.4) to (0.2, 1.0) is 0.7.
TEST(TableSpectrum, InterpolatesInLogLogAndLinearlyFromZeroPeriod) {
  const TableSpectrum table({0.1, 1.0, 2.0}, {1.0, 0.1, 0.05}, "t.csv");
  EXPECT_EQ(table.sa(1.0), 0.1);
  EXPECT_EQ(table.sa(2.0), 0.05);
  expectClose(table.sa(std::sqrt(0.1)), std::sqrt(0.1));
  expectClose(table.sa(0.4), 0.25);
  const TableSpectrum fromZero({0.0, 0.2, 1.0}, {0.4, 1.0, 0.2}, "z.csv");
  expectClose(fromZero.sa(0.1), 0.7);
  EXPECT_EQ(fromZero.sa(0.0), 0.4);
  expectClose(fromZero.sa(0.5), 1.0 * std::pow(0.2, std::log(2.5) / std::log(5.0)));
}

TEST(TableSpectrum, RefusesBadRowsAndPeriodsOutsideTheTable) {
  EXPECT_EQ(errorOf([] { TableSpectrum({0.1, 0.3, 0.2}, {1, 1, 1}, "t.csv"); }),
            "target spectrum t.csv, row 3: period T = 0.2 s does not follow T = 0.3 s; periods "
            "must increase strictly from row to row");
  EXPECT_TRUE(contains(errorOf([] { TableSpectrum({0.1, 0.1}, {1, 1}, "t.csv"); }), "row 2"));
  EXPECT_EQ(errorOf([] { TableSpectrum({-0.1, 0.1}, {1, 1}, "t.csv"); }),
            "target spectrum t.csv, row 1: period T = -0.1 s must be a non-negative number");
  EXPECT_EQ(errorOf([] { TableSpectrum({0.1, 0.2}, {1, 0}, "t.csv"); }),
            "target spectrum t.csv, row 2: Sa = 0 g must be positive");
  EXPECT_TRUE(contains(errorOf([] { TableSpectrum({0.1}, {1}, "t.csv"); }), "at least two rows"));
  EXPECT_TRUE(contains(errorOf([] { TableSpectrum({0.1, 0.2}, {1}, "t.csv"); }),
                       "2 periods but 1 values"));
  EXPECT_TRUE(contains(errorOf([] { TableSpectrum({0.1, NAN}, {1, 1}, "t.csv"); }), "row 2"));
  const TableSpectrum table({0.1, 1.0}, {1.0, 0.1}, "t.csv");
  EXPECT_EQ(errorOf([&] { table.sa(1.5); }),
            "target spectrum t.csv: period T = 1.5 s lies outside the periods it defines (T = "
            "0.1 to 1 s); choose periods within them");
  EXPECT_FALSE(errorOf([&] { table.sa(0.05); }).empty());
}

}  // namespace
