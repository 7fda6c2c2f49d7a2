// Constant-ductility spectra: the largest of several strengths, mass independence, Morbane's own
// analysis at the strength found, oscillators without a solution, the elastic limit, threads.
#include "measures/constant_ductility.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/numerics/history_length.h"
#include "core/numerics/peaks.h"
#include "core/runtime/execution.h"
#include "morbane/gateway.h"
#include "morbane/newmark_var.h"
#include "records/synthetic_record.h"
#include "support/calls.h"

namespace {

using measures::DuctilityOscillators;
using measures::DuctilityPoint;
using measures::DuctilityStatus;
using support::sameBits;

constexpr double kDt = 0.01;
constexpr double kTolerance = 1e-3;  // the default bracket width on ln R

// 5 s of synthetic ground motion with a 3 m/s² peak.
const std::vector<double>& shortRecord() {
  static const std::vector<double> record = records::syntheticRecord(500, kDt, 1, 3.0);
  return record;
}

DuctilityOscillators oscillators(std::vector<double> T, std::vector<double> zeta = {0.05},
                                 double kin = 0.0, double iso = 0.0) {
  DuctilityOscillators o;
  o.periods = std::move(T);
  o.dampingRatios = std::move(zeta);
  o.kin = kin;
  o.iso = iso;
  return o;
}

measures::ConstantDuctilitySpectrum spectrum(const DuctilityOscillators& o, double mu,
                                             const measures::DuctilitySearch& search = {}) {
  return measures::constantDuctilitySpectrum(shortRecord(), kDt, o, mu, search);
}

// Every value of two points the same bits, apart from the two forces, which scale with the mass.
void expectSameMassFree(const DuctilityPoint& a, const DuctilityPoint& b) {
  EXPECT_TRUE(sameBits(a.reductionFactor, b.reductionFactor));
  EXPECT_TRUE(sameBits(a.ductility, b.ductility));
  EXPECT_TRUE(sameBits(a.yieldDisplacement, b.yieldDisplacement));
  EXPECT_TRUE(sameBits(a.peakDisplacement, b.peakDisplacement));
  EXPECT_TRUE(sameBits(a.largestDuctility, b.largestDuctility));
  EXPECT_EQ(a.status, b.status);
  EXPECT_EQ(a.trials, b.trials);
  EXPECT_EQ(a.failedTrials, b.failedTrials);
}

// Ductility of one trial as the search runs it: unit mass, the history length of a call with
// this single period and damping ratio.
double trialDuctility(double T, double zeta, double fy) {
  const std::vector<double>& ag = shortRecord();
  const std::int32_t nAg = static_cast<std::int32_t>(ag.size());
  const double omega = (std::acos(-1.0) + std::acos(-1.0)) / T;
  const double k = omega * omega;
  const std::int64_t nMax = core::historyCapacity(nAg, zeta, T, kDt);
  const std::int32_t nTH = core::historyLength(nAg, zeta, omega, kDt, nMax);
  std::vector<double> u(nMax), v(nMax), a(nMax), fs(nMax);
  EXPECT_EQ(morbane::newmarkVar(u.data(), v.data(), a.data(), fs.data(), ag.data(), nAg, nTH, kDt,
                                1.0, zeta, k, fy, 0.0, 0.0, 0.25, 0.5, "Morbane"),
            0);
  return core::peakAbs(u.data(), nTH) / (fy / k);
}

std::string formatted(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

TEST(ConstantDuctility, ReductionFactorAndDuctilityAreTheSameBitsForAnyMass) {
  DuctilityOscillators o = oscillators({0.1, 0.5, 1.0, 2.5}, {0.02, 0.05}, 0.02, 0.01);
  const auto reference = spectrum(o, 4.0);
  for (double mass : {1e-3, 7.3, 250.0}) {
    o.mass = mass;
    const auto scaled = spectrum(o, 4.0);
    EXPECT_EQ(scaled.warnings, reference.warnings);
    for (std::size_t p = 0; p < reference.points.size(); ++p) {
      SCOPED_TRACE("mass " + std::to_string(mass) + ", point " + std::to_string(p));
      expectSameMassFree(scaled.points[p], reference.points[p]);
      EXPECT_TRUE(sameBits(scaled.points[p].yieldStrength,
                           mass * reference.points[p].yieldStrength));
      EXPECT_TRUE(sameBits(scaled.points[p].elasticForce, mass * reference.points[p].elasticForce));
    }
  }
}

// At T = 0.2 s the demand of this record rises past μ = 3 near R = 2.2, falls back below it near
// R = 2.9 and rises past it again near R = 3.1: two strengths reach μ = 3.
TEST(ConstantDuctility, OfTwoStrengthsReachingTheTargetTheLargerIsReturned) {
  const double T = 0.2, zeta = 0.05, target = 3.0;
  const auto s = spectrum(oscillators({T}), target);
  const DuctilityPoint& p = s.at(0, 0);
  ASSERT_EQ(p.status, DuctilityStatus::Reached);

  // Crossings of the target on a fine grid of ln R, by the test's own trials.
  const double step = 0.005;
  std::vector<double> crossings;
  bool above = false;
  for (double x = 0.0; x <= std::log(4.0); x += step) {
    const bool reaches = trialDuctility(T, zeta, p.elasticForce / std::exp(x)) >= target;
    if (reaches != above) crossings.push_back(x);
    above = reaches;
  }
  ASSERT_GE(crossings.size(), 3u) << "the demand no longer dips below the target: pick another case";
  EXPECT_GT(std::log(p.reductionFactor), crossings[0] - step);
  EXPECT_LE(std::log(p.reductionFactor), crossings[0] + kTolerance);
  // The weaker solution lies beyond the dip, more than 25 % lower in strength.
  EXPECT_GT(crossings[2] - std::log(p.reductionFactor), std::log(1.25));
  EXPECT_GE(p.ductility, target);
}

TEST(ConstantDuctility, OscillatorsWithoutASolutionAreLeftEmptyAndNamedInPeriodOrder) {
  measures::DuctilitySearch search;
  search.rMax = 8.0;
  const auto s = spectrum(oscillators({0.05, 0.1, 0.3, 1.0, 3.0}), 20.0, search);
  for (int i : {0, 1}) {
    EXPECT_EQ(s.at(i, 0).status, DuctilityStatus::Reached) << i;
    EXPECT_GE(s.at(i, 0).ductility, 20.0) << i;
  }
  const char* periods[] = {"0.3", "1", "3"};
  ASSERT_EQ(s.warnings.size(), 3u);
  for (int i = 2; i < 5; ++i) {
    const DuctilityPoint& p = s.at(i, 0);
    EXPECT_EQ(p.status, DuctilityStatus::NotReached);
    EXPECT_TRUE(std::isnan(p.yieldStrength) && std::isnan(p.reductionFactor) &&
                std::isnan(p.yieldDisplacement) && std::isnan(p.ductility) &&
                std::isnan(p.peakDisplacement));
    EXPECT_LT(p.largestDuctility, 20.0);
    EXPECT_EQ(s.warnings[i - 2], "T = " + std::string(periods[i - 2]) +
                                     " s, ζ = 5 %: no yield strength reaches μ = 20 for R up to "
                                     "8 (largest reached " +
                                     formatted("%.3g", p.largestDuctility) + "); left empty");
  }
}

// With kin = −1 the hardened tangent divides by zero and every yielding trial turns to NaN.
TEST(ConstantDuctility, TrialsThatFailCountAsNotReachingAndAreReported) {
  const auto s = spectrum(oscillators({0.03, 0.3}, {0.05}, -1.0), 4.0);
  const DuctilityPoint& allFailed = s.at(0, 0);
  EXPECT_EQ(allFailed.status, DuctilityStatus::TrialsFailed);
  EXPECT_EQ(allFailed.failedTrials, allFailed.trials);
  EXPECT_TRUE(std::isnan(allFailed.largestDuctility));
  const DuctilityPoint& someFailed = s.at(1, 0);
  EXPECT_EQ(someFailed.status, DuctilityStatus::NotReached);
  ASSERT_EQ(s.warnings.size(), 2u);
  EXPECT_EQ(s.warnings[0],
            "T = 0.03 s, ζ = 5 %: no analysis converged for R from 1 to 100, so no yield "
            "strength reaches μ = 4; left empty");
  EXPECT_NE(s.warnings[1].find(std::to_string(someFailed.failedTrials) + " of " +
                               std::to_string(someFailed.trials) + " analyses did not converge"),
            std::string::npos)
      << s.warnings[1];
}

// With kin = −0.5 the oscillator softens after yield and, past some strength, runs away: the
// demand leaps from below the target to an enormous value within the tolerance.
TEST(ConstantDuctility, ALeapOfTheDemandPastTheTargetIsReported) {
  const auto s = spectrum(oscillators({0.3}, {0.05}, -0.5), 4.0);
  EXPECT_EQ(s.at(0, 0).status, DuctilityStatus::Reached);
  EXPECT_GT(s.at(0, 0).ductility, 1e6);
  ASSERT_EQ(s.warnings.size(), 1u);
  EXPECT_EQ(s.warnings[0].rfind("T = 0.3 s, ζ = 5 %: the ductility demand leaps past μ = 4 to ", 0),
            0u)
      << s.warnings[0];
}

// At unit mass each point is Morbane's own analysis at the strength found (keyword "fy"), and a
// strength larger by the tolerance falls short of the target.
TEST(ConstantDuctility, MorbaneAtTheStrengthFoundGivesTheSameDuctility) {
  const std::vector<double> T = {0.3, 2.0, 0.8}, zeta = {0.02, 0.05};
  const auto s = spectrum(oscillators(T, zeta, 0.02, 0.01), 4.0);
  auto morbane = [&](double fy) {
    support::Args args;
    args.add(shortRecord()).add(kDt).add(1.0).add(host::row(zeta)).add(T);
    args.add(0.02).add(0.01).add("fy").add(fy);
    return support::call(morbane::mexFunction, args);
  };
  for (std::size_t idx = 0; idx < s.points.size(); ++idx) {
    SCOPED_TRACE("point " + std::to_string(idx));
    const DuctilityPoint& p = s.points[idx];
    ASSERT_EQ(p.status, DuctilityStatus::Reached);
    const host::Outcome at = morbane(p.yieldStrength);
    ASSERT_TRUE(at.ok) << at.error;
    EXPECT_TRUE(sameBits(at.values("muFact")[idx], p.ductility));
    EXPECT_TRUE(sameBits(at.values("RFact")[idx], p.reductionFactor));
    EXPECT_TRUE(sameBits(at.values("yieldDsp")[idx], p.yieldDisplacement));
    EXPECT_TRUE(sameBits(at.values("dsp")[idx], p.peakDisplacement));
    EXPECT_GE(p.ductility, 4.0);
    const host::Outcome stronger = morbane(p.yieldStrength * std::exp(kTolerance));
    EXPECT_LT(stronger.values("muFact")[idx], 4.0);
  }
}

// μ = 1: the largest strength that stays elastic is the peak force of the same (average-
// acceleration) integration, which lies above or below the exact elastic force F_el, so R falls on
// either side of 1 — found by the scan stepping down from R = 1 or up.
TEST(ConstantDuctility, TargetOneGivesThePeakElasticForceOfTheIntegration) {
  const std::vector<double> T = {0.02, 0.03, 0.05, 0.07, 0.5};
  const auto s = spectrum(oscillators(T), 1.0);
  int below = 0, above = 0;
  for (std::size_t i = 0; i < T.size(); ++i) {
    const DuctilityPoint& p = s.at(static_cast<std::int32_t>(i), 0);
    ASSERT_EQ(p.status, DuctilityStatus::Reached);
    const double elasticFy = 1e6 * p.elasticForce;  // never reached: a linear analysis
    const double peakForce = trialDuctility(T[i], 0.05, elasticFy) * elasticFy;
    EXPECT_LE(p.yieldStrength, peakForce * (1.0 + 1e-12)) << T[i];
    EXPECT_GE(p.yieldStrength, peakForce * std::exp(-kTolerance)) << T[i];
    EXPECT_GE(p.ductility, 1.0);
    (p.reductionFactor < 1.0 ? below : above) += 1;
  }
  EXPECT_GT(below, 0);
  EXPECT_GT(above, 0);
}

TEST(ConstantDuctility, ThreadCountsGiveIdenticalPointsAndWarnings) {
  measures::DuctilitySearch search;
  search.rMax = 8.0;
  const DuctilityOscillators o = oscillators({0.05, 0.1, 0.3, 0.5, 1.0, 2.0, 3.0}, {0.02, 0.05});
  core::setThreadCount(1);
  const auto one = spectrum(o, 20.0, search);
  EXPECT_FALSE(one.warnings.empty());
  for (int threads : {2, 3}) {
    core::setThreadCount(threads);
    const auto many = spectrum(o, 20.0, search);
    EXPECT_EQ(many.warnings, one.warnings) << threads;
    for (std::size_t p = 0; p < one.points.size(); ++p) {
      expectSameMassFree(many.points[p], one.points[p]);
      EXPECT_TRUE(sameBits(many.points[p].yieldStrength, one.points[p].yieldStrength));
    }
  }
  core::setThreadCount(0);
}

TEST(ConstantDuctility, RefusesInputsOutsideTheirRangesNamingTheValue) {
  auto message = [](std::vector<double> ag, double dt, DuctilityOscillators o, double mu,
                    measures::DuctilitySearch search = {}) -> std::string {
    try {
      measures::constantDuctilitySpectrum(ag, dt, o, mu, search);
    } catch (const std::invalid_argument& e) {
      return e.what();
    }
    return "accepted";
  };
  const std::vector<double> ag = {0.0, 1.0, -0.5};
  const DuctilityOscillators o = oscillators({0.5});
  EXPECT_EQ(message(ag, 0.01, o, 0.5), "target ductility μ = 0.5: must be at least 1");
  EXPECT_EQ(message(ag, 0.0, o, 4.0), "time step dt = 0 s: must be a positive number");
  EXPECT_EQ(message({0.0, 0.0}, 0.01, o, 4.0),
            "every sample of the record is zero, so no oscillator yields");
  EXPECT_EQ(message({0.0, std::nan("")}, 0.01, o, 4.0),
            "record sample 2 is not a finite number: correct or remove it");
  EXPECT_EQ(message(ag, 0.01, oscillators({-1.0}), 4.0),
            "period T = -1 s: must be a positive number");
  EXPECT_EQ(message(ag, 0.01, oscillators({0.5}, {1.0}), 4.0),
            "damping ratio ζ = 1: must be at least 0 and below 1");
  DuctilityOscillators massless = o;
  massless.mass = 0.0;
  EXPECT_EQ(message(ag, 0.01, massless, 4.0), "mass m = 0: must be a positive number");
  measures::DuctilitySearch flat;
  flat.scanFactor = 1.0;
  EXPECT_EQ(message(ag, 0.01, o, 4.0, flat), "scan factor 1: must be greater than 1");
}

}  // namespace

namespace {

void expectSamePoint(const DuctilityPoint& a, const DuctilityPoint& b, const std::string& where) {
  for (auto field : {&DuctilityPoint::yieldStrength, &DuctilityPoint::reductionFactor,
                     &DuctilityPoint::yieldDisplacement, &DuctilityPoint::ductility,
                     &DuctilityPoint::peakDisplacement, &DuctilityPoint::elasticForce,
                     &DuctilityPoint::largestDuctility})
    EXPECT_TRUE(support::sameResult(a.*field, b.*field)) << where << ": " << a.*field << " vs "
                                                         << b.*field;
  EXPECT_EQ(a.status, b.status) << where;
  EXPECT_EQ(a.trials, b.trials) << where;
  EXPECT_EQ(a.failedTrials, b.failedTrials) << where;
}

}  // namespace

// The trials side by side in vector lanes give the points and warnings of one trial at a time on
// full histories, bit for bit, for every vector unit and thread count: searches that reach the
// target, fall short, leap past it, scan downwards (a target of 1), and trials that turn to NaN.
TEST(ConstantDuctility, TheFastPathGivesTheStraightforwardPointsBitForBit) {
  measures::DuctilitySearch shortScan;
  shortScan.rMax = 8.0;
  const struct {
    DuctilityOscillators o;
    double mu;
    measures::DuctilitySearch search;
  } runs[] = {{oscillators({0.05, 0.1, 0.3, 0.5, 1.0, 2.0, 3.0, 0.02, 0.7, 1.5, 0.15, 4.0, 0.04,
                            0.8, 2.5, 0.25, 1.2, 0.06},
                           {0.02, 0.0}),
               20.0, shortScan},
              {oscillators({0.03, 0.3}, {0.05}, -1.0), 4.0, {}},
              {oscillators({0.3, 0.1}, {0.05}, -0.5), 4.0, {}},
              {oscillators({0.2, 1.0, 0.05}, {0.05}, 0.02, 0.01), 1.0, {}}};
  const core::VectorUnit widest = core::widestVectorUnit();
  for (const auto& r : runs) {
    core::setStraightforward(true);
    core::setThreadCount(1);
    const auto expected = spectrum(r.o, r.mu, r.search);
    core::setStraightforward(false);
    for (int unit = 0; unit <= static_cast<int>(widest); ++unit)
      for (int threads : {1, 2, 3}) {
        core::setVectorUnit(static_cast<core::VectorUnit>(unit));
        core::setThreadCount(threads);
        const auto got = spectrum(r.o, r.mu, r.search);
        const std::string where = "mu " + std::to_string(r.mu) + ", unit " +
                                  std::to_string(unit) + ", " + std::to_string(threads) +
                                  " threads";
        EXPECT_EQ(got.warnings, expected.warnings) << where;
        ASSERT_EQ(got.points.size(), expected.points.size());
        for (std::size_t p = 0; p < got.points.size(); ++p)
          expectSamePoint(got.points[p], expected.points[p],
                          where + ", point " + std::to_string(p));
      }
  }
  core::setVectorUnit(widest);
  core::setThreadCount(0);
}
