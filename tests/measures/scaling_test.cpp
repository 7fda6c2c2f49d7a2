// Amplitude scaling: the least-squares factor and misfit of one record by hand, the suite rule
// raising the common factor exactly to the binding period, the code presets, and bad inputs.
#include "measures/scaling.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "measures/error_of.h"
#include "measures/suite.h"

namespace {

using measures::PeriodRange;
using measures::RecordSpectrum;

class ConstantTarget : public measures::TargetSpectrum {
 public:
  explicit ConstantTarget(double sa) : sa_(sa) {}
  double sa(double) const override { return sa_; }
  std::string description() const override { return "constant target"; }

 private:
  double sa_;
};

// Target 0.5 g over T = 0.2 to 1 s; the record has Sa = 0.125, 0.25, 1.0 g there (and values
// far off at 0.1 and 2 s, outside the range, which must not count):
//   d = ln(0.5/Sa) = 2·ln2, ln2, −ln2;  ln f = mean d = (2/3)·ln2;  f = 2^(2/3) = 1.5874011
//   residuals d − ln f = (4/3)·ln2, (1/3)·ln2, −(5/3)·ln2; squares sum to (42/9)·ln²2
//   misfit = √((42/9)·ln²2 / 3) = ln2·√14/3 = 0.8645016
TEST(ScaleRecord, ReproducesTheHandComputedFactorAndMisfit) {
  const std::vector<double> periods = {0.1, 0.2, 0.5, 1.0, 2.0};
  const RecordSpectrum record{"a.AT2", {9.0, 0.125, 0.25, 1.0, 100.0}};
  const auto scaled = measures::scaleRecord(periods, record, ConstantTarget(0.5), {0.2, 1.0});
  EXPECT_EQ(scaled.name, "a.AT2");
  EXPECT_EQ(scaled.periodsUsed, 3u);
  EXPECT_NEAR(scaled.factor, std::cbrt(4.0), 1e-15 * std::cbrt(4.0));
  EXPECT_NEAR(scaled.misfit, std::log(2.0) * std::sqrt(14.0) / 3.0, 1e-15);
}

// A range of one period scales the record onto the target there: 0.5/0.25 = 2, no misfit.
TEST(ScaleRecord, ARangeOfOnePeriodMatchesTheTargetThere) {
  const auto scaled = measures::scaleRecord({0.2, 0.5, 1.0}, {"a", {1.0, 0.25, 1.0}},
                                            ConstantTarget(0.5), {0.5, 0.5});
  EXPECT_EQ(scaled.periodsUsed, 1u);
  EXPECT_EQ(scaled.factor, 2.0);
  EXPECT_EQ(scaled.misfit, 0.0);
}

// Target 1 g at T = 0.1, 0.2, 0.4 s, fraction 0.9. Record a (2, 1, 0.5) fits with f = 1, record
// b (1, 0.5, 0.25) with f = exp(ln 2) = 2, so both scaled spectra are (2, 1, 0.5) and so is their
// mean: 0.9/mean = 0.45, 0.9, 1.8, largest at 0.4 s. The common factor 1.8 lifts the mean there
// to exactly 0.9 g; the final factors are 1.8 and 3.6.
TEST(ScaleSuite, RaisesTheCommonFactorExactlyToTheBindingPeriod) {
  const std::vector<double> periods = {0.1, 0.2, 0.4};
  const std::vector<RecordSpectrum> suite = {{"a", {2.0, 1.0, 0.5}}, {"b", {1.0, 0.5, 0.25}}};
  const auto scaled = measures::scaleSuite(periods, suite, ConstantTarget(1.0), {0.1, 0.4}, 0.9);
  EXPECT_EQ(scaled.records[0].factor, 1.0);
  EXPECT_NEAR(scaled.records[1].factor, 2.0, 4e-16);
  EXPECT_NEAR(scaled.commonFactor, 1.8, 1e-15);
  EXPECT_EQ(scaled.bindingPeriod, 0.4);
  EXPECT_NEAR(scaled.ratioBefore, 0.5, 1e-16);
  EXPECT_NEAR(scaled.ratioAfter, 0.9, 1e-15);
  ASSERT_EQ(scaled.factors.size(), 2u);
  EXPECT_NEAR(scaled.factors[0], 1.8, 1e-15);
  EXPECT_NEAR(scaled.factors[1], 3.6, 2e-15);
}

// Records a (2, 1, 0.5) and b (0.5, 1, 2) both fit with f = 1; their mean (1.25, 1, 1.25) never
// falls below 0.9 of the target, so the least-squares factors stand.
TEST(ScaleSuite, LeavesTheFactorsWhenTheMeanAlreadyReachesTheFraction) {
  const std::vector<RecordSpectrum> suite = {{"a", {2.0, 1.0, 0.5}}, {"b", {0.5, 1.0, 2.0}}};
  const auto scaled =
      measures::scaleSuite({0.1, 0.2, 0.4}, suite, ConstantTarget(1.0), {0.1, 0.4}, 0.9);
  EXPECT_EQ(scaled.commonFactor, 1.0);
  EXPECT_EQ(scaled.factors, (std::vector<double>{1.0, 1.0}));
  EXPECT_EQ(scaled.bindingPeriod, 0.2);
  EXPECT_EQ(scaled.ratioAfter, 1.0);
}

// Seven irregular records against the Eurocode 8 spectrum over 0.2·T1 to 2·T1 (T1 = 0.5 s), all
// with a dip at one period: after scaling, the arithmetic mean of the scaled spectra touches
// 0.9 × target at the binding period, to rounding, and stays above it elsewhere in the range.
TEST(ScaleSuite, ScaledMeanTouchesTheFractionAtTheBindingPeriodOnly) {
  const measures::Eurocode8Spectrum target(measures::Eurocode8Type::type1,
                                           measures::GroundType::C, 0.25);
  std::vector<double> periods;
  for (int i = 0; i < 40; ++i) periods.push_back(0.05 * std::pow(1.1, i));
  std::vector<RecordSpectrum> suite;
  for (int r = 0; r < 7; ++r) {
    RecordSpectrum record{"r" + std::to_string(r), {}};
    for (std::size_t i = 0; i < periods.size(); ++i) {
      const double dip = i == 20 ? 0.6 : 1.0;
      record.sa.push_back(target.sa(periods[i]) * std::exp(0.4 * std::sin(1.7 * r + 0.9 * i)) *
                          dip * (0.5 + r));
    }
    suite.push_back(record);
  }
  const PeriodRange range = measures::eurocode8ScalingRange(0.5);
  const auto scaled = measures::scaleSuite(periods, suite, target, range, 0.9);
  ASSERT_GT(scaled.commonFactor, 1.0);
  EXPECT_EQ(scaled.bindingPeriod, periods[20]);
  for (std::size_t r = 0; r < suite.size(); ++r)
    for (double& sa : suite[r].sa) sa *= scaled.factors[r];
  const auto mean = measures::arithmeticMean(periods, suite);
  for (std::size_t i = 0; i < periods.size(); ++i) {
    if (periods[i] < range.shortest || periods[i] > range.longest) continue;
    const double ratio = mean[i] / target.sa(periods[i]);
    if (i == 20)
      EXPECT_NEAR(ratio, 0.9, 4e-16);
    else
      EXPECT_GT(ratio, 0.9) << periods[i];
  }
}

TEST(ScaleSuite, CodePresetsGiveTheClausesRangesAndCounts) {
  const PeriodRange ec8 = measures::eurocode8ScalingRange(0.5);
  EXPECT_EQ(ec8.shortest, 0.2 * 0.5);
  EXPECT_EQ(ec8.longest, 1.0);
  const PeriodRange asce = measures::asce7ScalingRange(1.2, 0.8);
  EXPECT_EQ(asce.shortest, 0.2 * 0.8);
  EXPECT_EQ(asce.longest, 2.4);
  EXPECT_EQ(measures::asce7SuiteRule().fraction, 0.9);
  EXPECT_EQ(measures::asce7SuiteRule().minimumRecords, 11u);
  EXPECT_EQ(measures::eurocode8SuiteRule().fraction, 0.9);
  EXPECT_EQ(measures::eurocode8SuiteRule().minimumRecords, 3u);
  EXPECT_FALSE(errorOf([] { measures::eurocode8ScalingRange(0.0); }).empty());
  EXPECT_FALSE(errorOf([] { measures::asce7ScalingRange(1.0, -1.0); }).empty());
}

TEST(ScaleSuite, RefusesBadInputsNamingRecordPeriodAndRange) {
  const std::vector<double> periods = {0.1, 0.2, 0.4};
  const ConstantTarget target(1.0);
  EXPECT_EQ(errorOf([&] {
              measures::scaleRecord(periods, {"a.AT2", {1, 1, 1}}, target, {0.5, 2.0});
            }),
            "no period of the spectra lies in the scaling range T = 0.5 to 2 s; widen the range "
            "or compute the spectra at periods inside it");
  EXPECT_EQ(errorOf([&] {
              measures::scaleRecord(periods, {"a.AT2", {1, 0, 1}}, target, {0.1, 0.4});
            }),
            "record a.AT2: Sa = 0 g at period T = 0.2 s is not positive, so no amplitude factor "
            "can bring it to the target; leave that record out or narrow the scaling range");
  EXPECT_NO_THROW(measures::scaleRecord(periods, {"a.AT2", {1, 0, 1}}, target, {0.4, 0.4}));
  EXPECT_NE(errorOf([&] {
              measures::scaleRecord(periods, {"a.AT2", {1, 1, 1}}, target, {0.4, 0.1});
            }).find("the shorter first"),
            std::string::npos);
  EXPECT_NE(errorOf([&] {
              measures::scaleRecord(periods, {"a.AT2", {1, 1}}, target, {0.1, 0.4});
            }).find("record a.AT2: 2 values of Sa for 3 periods"),
            std::string::npos);
  EXPECT_NE(errorOf([&] {
              measures::scaleSuite(periods, {{"a", {1, 1, 1}}}, target, {0.1, 0.4}, 0.0);
            }).find("fraction of the target 0 must be positive"),
            std::string::npos);
  EXPECT_FALSE(errorOf([&] { measures::scaleSuite(periods, {}, target, {0.1, 0.4}, 0.9); })
                   .empty());
  // A table that stops short of the range is not extrapolated.
  const measures::TableSpectrum table({0.1, 0.3}, {1.0, 1.0}, "target.csv");
  EXPECT_NE(errorOf([&] {
              measures::scaleRecord(periods, {"a.AT2", {1, 1, 1}}, table, {0.1, 0.4});
            }).find("target spectrum target.csv: period T = 0.4 s lies outside"),
            std::string::npos);
}

}  // namespace
