// Suite statistics: log-mean and ±1σ spectra with the N − 1 divisor, the arithmetic mean, and
// the records and periods named when a value cannot be used.
#include "measures/suite.h"

#include <gtest/gtest.h>

#include <cmath>

#include "measures/error_of.h"

namespace {

using measures::RecordSpectrum;

// At T = 0.2 s the three records give 1, e, e², so ln Sa = 0, 1, 2: mean 1, squared deviations
// 1 + 0 + 1 = 2, σ = √(2/(3 − 1)) = 1 (a divisor N would give √(2/3)); log-mean e, −1σ e⁰ = 1,
// +1σ e². At T = 1 s all three are 2 g: log-mean 2, σ = 0.
TEST(SuiteStatistics, GivesTheLogMeanAndSigmaWithDivisorNMinusOne) {
  const double e = std::exp(1.0);
  const std::vector<RecordSpectrum> suite = {
      {"a.AT2", {1.0, 2.0}}, {"b.AT2", {e, 2.0}}, {"c.AT2", {e * e, 2.0}}};
  const auto stats = measures::suiteStatistics({0.2, 1.0}, suite);
  EXPECT_NEAR(stats.logMean[0], e, 1e-15 * e);
  EXPECT_NEAR(stats.lnSigma[0], 1.0, 1e-15);
  EXPECT_NEAR(stats.minusSigma[0], 1.0, 1e-15);
  EXPECT_NEAR(stats.plusSigma[0], e * e, 1e-15 * e * e);
  EXPECT_NEAR(stats.logMean[1], 2.0, 1e-15);
  EXPECT_EQ(stats.lnSigma[1], 0.0);
  EXPECT_NEAR(stats.minusSigma[1], 2.0, 1e-15);
  EXPECT_NEAR(stats.plusSigma[1], 2.0, 1e-15);
}

TEST(SuiteStatistics, ArithmeticMeanAveragesEachPeriod) {
  const std::vector<RecordSpectrum> suite = {{"a", {0.1, 0.3}}, {"b", {0.4, 0.5}}};
  const auto mean = measures::arithmeticMean({0.2, 1.0}, suite);
  ASSERT_EQ(mean.size(), 2u);
  EXPECT_NEAR(mean[0], 0.25, 1e-16);
  EXPECT_NEAR(mean[1], 0.4, 1e-16);
}

TEST(SuiteStatistics, RefusesValuesWithoutALogarithmNamingRecordAndPeriod) {
  const std::vector<double> periods = {0.2, 1.0};
  EXPECT_EQ(errorOf([&] {
              measures::suiteStatistics(periods, {{"a.AT2", {1, 1}}, {"b.AT2", {1, 0}}});
            }),
            "record b.AT2: Sa = 0 g at period T = 1 s is not positive, so its logarithm for the "
            "log-mean spectrum does not exist; leave that period or that record out");
  EXPECT_NE(errorOf([&] {
              measures::suiteStatistics(periods, {{"a.AT2", {NAN, 1}}, {"b.AT2", {1, 1}}});
            }).find("record a.AT2: Sa = nan g at period T = 0.2 s"),
            std::string::npos);
  EXPECT_EQ(errorOf([&] { measures::suiteStatistics(periods, {{"a.AT2", {1, 1}}}); }),
            "the ±1σ spectra of a suite need at least two records; 1 given");
  EXPECT_EQ(errorOf([&] {
              measures::suiteStatistics(periods, {{"a.AT2", {1, 1}}, {"b.AT2", {1}}});
            }),
            "record b.AT2: 1 values of Sa for 2 periods; every record of a suite needs its "
            "spectrum at the same periods");
  EXPECT_FALSE(errorOf([&] { measures::arithmeticMean(periods, {}); }).empty());
}

}  // namespace
