// RotD spectra against the elastic modules run on rotated records, against the resultant of the
// two-component module, and against the geometry of polarised and rotated pairs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/runtime/execution.h"
#include "daskent/gateway.h"
#include "measures/rotd.h"
#include "quorvel/gateway.h"
#include "support/calls.h"
#include "support/reference.h"

namespace {

using support::Args;

const double kDt = 0.01;
const std::vector<double> kPeriods = {0.05, 0.2, 0.7, 2.0};
const std::vector<double> kZeta = {0.05, 0.02};

std::vector<double> firstComponent() { return support::testRecord(600, kDt, 3.0); }

// A second component unlike the first: another record reversed in time.
std::vector<double> secondComponent() {
  const std::vector<double> record = support::testRecord(600, kDt, 2.0);
  return std::vector<double>(record.rbegin(), record.rend());
}

host::Outcome elastic(const std::vector<double>& ag) {
  Args args;
  args.add(ag).add(kDt).add(1.0).add(host::row(kZeta)).add(host::column(kPeriods));
  return support::call(quorvel::mexFunction, args);
}

measures::RotDSpectra rotd(const std::vector<double>& ag1, const std::vector<double>& ag2,
                           double step = 1.0) {
  measures::RotDSettings settings;
  settings.angleStepDegrees = step;
  return measures::rotdSpectra(ag1, ag2, kDt, kPeriods, kZeta, settings);
}

// The percentile rule written out again: linear between order statistics at p/100·(n − 1).
double percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  const double rank = p / 100.0 * (values.size() - 1);
  const std::size_t below = static_cast<std::size_t>(rank);
  if (below + 1 >= values.size()) return values.back();
  return values[below] + (rank - below) * (values[below + 1] - values[below]);
}

void expectRelative(double actual, double expected, double bound, const char* what) {
  EXPECT_NEAR(actual, expected, bound * std::fabs(expected)) << what;
}

TEST(RotD, percentiles_match_the_elastic_module_run_on_the_rotated_record_at_every_angle) {
  const std::vector<double> ag1 = firstComponent(), ag2 = secondComponent();
  const measures::RotDSpectra fast = rotd(ag1, ag2);
  ASSERT_EQ(fast.angles.size(), 180u);
  const std::size_t oscillators = kPeriods.size() * kZeta.size();
  std::vector<std::vector<double>> sd(oscillators), psa(oscillators);
  for (int degrees = 0; degrees < 180; ++degrees) {
    const double theta = degrees * M_PI / 180.0;
    std::vector<double> rotated(ag1.size());
    for (std::size_t s = 0; s < ag1.size(); ++s)
      rotated[s] = ag1[s] * std::cos(theta) + ag2[s] * std::sin(theta);
    const host::Outcome slow = elastic(rotated);
    ASSERT_TRUE(slow.ok) << slow.error;
    for (std::size_t o = 0; o < oscillators; ++o) {
      sd[o].push_back(slow.values("dsp")[o]);
      psa[o].push_back(slow.values("psdAcc")[o]);
    }
  }
  // Rotating the record instead of the response changes only the rounding.
  for (std::size_t p = 0; p < fast.percentiles.size(); ++p)
    for (std::size_t o = 0; o < oscillators; ++o) {
      const std::size_t i = o % kPeriods.size(), j = o / kPeriods.size();
      const double nn = fast.percentiles[p];
      expectRelative(fast.sd[fast.rotDIndex(p, i, j)], percentile(sd[o], nn), 1e-12, "Sd");
      expectRelative(fast.psa[fast.rotDIndex(p, i, j)], percentile(psa[o], nn), 1e-12, "PSA");
    }
}

TEST(RotD, as_recorded_angles_and_geometric_mean_are_the_elastic_module_bit_for_bit) {
  const std::vector<double> ag1 = firstComponent(), ag2 = secondComponent();
  const measures::RotDSpectra out = rotd(ag1, ag2);
  const host::Outcome one = elastic(ag1), two = elastic(ag2);
  ASSERT_TRUE(one.ok && two.ok);
  for (std::size_t j = 0; j < kZeta.size(); ++j)
    for (std::size_t i = 0; i < kPeriods.size(); ++i) {
      const std::size_t o = i + kPeriods.size() * j;
      EXPECT_TRUE(support::sameBits(out.sdAtAngle[out.angleIndex(0, i, j)], one.values("dsp")[o]));
      EXPECT_TRUE(support::sameBits(out.sdAtAngle[out.angleIndex(90, i, j)], two.values("dsp")[o]));
      const double psa = std::sqrt(one.values("psdAcc")[o] * two.values("psdAcc")[o]);
      EXPECT_TRUE(support::sameBits(out.geoMeanPsa[o], psa)) << o;
      const double sd = std::sqrt(one.values("dsp")[o] * two.values("dsp")[o]);
      EXPECT_TRUE(support::sameBits(out.geoMeanSd[o], sd)) << o;
    }
}

TEST(RotD, rotd100_with_a_fine_angle_step_approaches_the_resultant_peak) {
  const std::vector<double> ag1 = firstComponent(), ag2 = secondComponent();
  const double step = 0.01;
  const measures::RotDSpectra out = rotd(ag1, ag2, step);
  Args args;
  args.add(ag1).add(ag2).add(kDt).add(1.0).add(host::row(kZeta)).add(host::column(kPeriods));
  const host::Outcome resultant = support::call(daskent::mexFunction, args);
  ASSERT_TRUE(resultant.ok) << resultant.error;
  // The resultant's direction is at most half a step from an angle of the set.
  const double nearest = std::cos(step / 2.0 * M_PI / 180.0);
  for (std::size_t o = 0; o < kPeriods.size() * kZeta.size(); ++o) {
    const double peak = resultant.values("dsp")[o];
    const double rotD100 = out.sd[out.rotDIndex(2, o % kPeriods.size(), o / kPeriods.size())];
    EXPECT_LE(rotD100, peak * (1.0 + 1e-12)) << o;
    EXPECT_GE(rotD100, peak * nearest * (1.0 - 1e-12)) << o;
  }
}

TEST(RotD, polarised_pairs_peak_at_their_own_direction) {
  const std::vector<double> ag = firstComponent();
  const std::vector<double> zeros(ag.size(), 0.0);
  const host::Outcome alone = elastic(ag);
  ASSERT_TRUE(alone.ok);
  const measures::RotDSpectra along1 = rotd(ag, zeros), along2 = rotd(zeros, ag),
                              diagonal = rotd(ag, ag);
  for (std::size_t o = 0; o < kPeriods.size() * kZeta.size(); ++o) {
    const std::size_t i = o % kPeriods.size(), j = o / kPeriods.size();
    const double sd = alone.values("dsp")[o];
    // One zero component: RotD100 is that component's Sd, and nothing moves across it.
    EXPECT_TRUE(support::sameBits(along1.sd[along1.rotDIndex(2, i, j)], sd)) << o;
    EXPECT_EQ(along1.angleRotD100[o], 0.0);
    EXPECT_TRUE(support::sameBits(along2.sd[along2.rotDIndex(2, i, j)], sd)) << o;
    EXPECT_EQ(along2.angleRotD100[o], 90.0);
    EXPECT_EQ(along2.sd[along2.rotDIndex(0, i, j)], 0.0);
    // Identical components move along the diagonal: √2·Sd at 45°, next to nothing at 135°.
    expectRelative(diagonal.sd[diagonal.rotDIndex(2, i, j)], std::sqrt(2.0) * sd, 1e-14, "45");
    EXPECT_EQ(diagonal.angleRotD100[o], 45.0);
    EXPECT_EQ(diagonal.angleRotD00[o], 135.0);
    EXPECT_LE(diagonal.sd[diagonal.rotDIndex(0, i, j)], 1e-15 * sd);
  }
}

TEST(RotD, rotating_the_sensors_leaves_every_orientation_independent_measure_unchanged) {
  const std::vector<double> ag1 = firstComponent(), ag2 = secondComponent();
  const double alpha = 30.0 * M_PI / 180.0;
  std::vector<double> turned1(ag1.size()), turned2(ag1.size());
  for (std::size_t s = 0; s < ag1.size(); ++s) {
    turned1[s] = ag1[s] * std::cos(alpha) + ag2[s] * std::sin(alpha);
    turned2[s] = -ag1[s] * std::sin(alpha) + ag2[s] * std::cos(alpha);
  }
  const measures::RotDSpectra a = rotd(ag1, ag2), b = rotd(turned1, turned2);
  for (std::size_t x = 0; x < a.sd.size(); ++x) expectRelative(b.sd[x], a.sd[x], 1e-12, "RotDnn");
  for (std::size_t o = 0; o < a.gmRotI50Sd.size(); ++o) {
    expectRelative(b.gmRotD50Sd[o], a.gmRotD50Sd[o], 1e-12, "GMRotD50");
    expectRelative(b.gmRotI50Sd[o], a.gmRotI50Sd[o], 1e-12, "GMRotI50");
    // GMRotI50 is one of the rotated geometric means, so it lies between their extremes.
    EXPECT_LE(a.gmRotI50Sd[o], a.sd[a.rotDIndex(2, o % kPeriods.size(), o / kPeriods.size())]);
  }
  // The penalty's best angle turns with the sensors (modulo 90°).
  for (std::size_t j = 0; j < kZeta.size(); ++j)
    EXPECT_EQ(std::fmod(b.gmRotI50Angle[j] + 30.0, 90.0), a.gmRotI50Angle[j]);
}

TEST(RotD, gmroti50_needs_a_step_that_divides_ninety_degrees) {
  const measures::RotDSpectra out = rotd(firstComponent(), secondComponent(), 7.0);
  EXPECT_EQ(out.angles.size(), 26u);  // 0, 7, …, 175
  EXPECT_TRUE(std::isnan(out.gmRotI50Sd[0]));
  EXPECT_TRUE(std::isnan(out.gmRotI50Angle[0]));
  EXPECT_FALSE(std::isnan(out.sd[0]));
}

TEST(RotD, results_do_not_depend_on_threads_vector_unit_or_the_longer_records_rest) {
  const std::vector<double> ag1 = firstComponent(), ag2 = secondComponent();
  std::vector<double> longer = ag2;
  longer.insert(longer.end(), 50, 1e6);  // beyond the common length: never read
  const measures::RotDSpectra reference = rotd(ag1, ag2);
  std::vector<measures::RotDSpectra> others;
  others.push_back(rotd(ag1, longer));
  core::setThreadCount(1);
  for (core::VectorUnit unit : {core::VectorUnit::None, core::VectorUnit::SSE2,
                                core::VectorUnit::AVX2, core::VectorUnit::AVX512}) {
    core::setVectorUnit(unit);
    others.push_back(rotd(ag1, ag2));
  }
  core::setVectorUnit(core::widestVectorUnit());
  core::setThreadCount(0);
  for (const measures::RotDSpectra& other : others) {
    ASSERT_EQ(other.sdAtAngle.size(), reference.sdAtAngle.size());
    for (std::size_t x = 0; x < reference.sdAtAngle.size(); ++x)
      ASSERT_TRUE(support::sameBits(other.sdAtAngle[x], reference.sdAtAngle[x])) << x;
    for (std::size_t x = 0; x < reference.gmRotI50Sd.size(); ++x)
      ASSERT_TRUE(support::sameBits(other.gmRotI50Sd[x], reference.gmRotI50Sd[x])) << x;
  }
}

TEST(RotD, refuses_inputs_it_cannot_analyse) {
  const std::vector<double> ag = firstComponent();
  auto with = [&](std::vector<double> percentiles, double step) {
    measures::RotDSettings settings;
    settings.percentiles = percentiles;
    settings.angleStepDegrees = step;
    return settings;
  };
  using measures::rotdSpectra;
  EXPECT_THROW(rotdSpectra({}, ag, kDt, kPeriods, kZeta), std::invalid_argument);
  EXPECT_THROW(rotdSpectra(ag, ag, 0.0, kPeriods, kZeta), std::invalid_argument);
  EXPECT_THROW(rotdSpectra(ag, ag, kDt, {0.1, -1.0}, kZeta), std::invalid_argument);
  EXPECT_THROW(rotdSpectra(ag, ag, kDt, kPeriods, {1.0}), std::invalid_argument);
  EXPECT_THROW(rotdSpectra(ag, ag, kDt, kPeriods, kZeta, with({50, 101}, 1.0)),
               std::invalid_argument);
  EXPECT_THROW(rotdSpectra(ag, ag, kDt, kPeriods, kZeta, with({NAN}, 1.0)),
               std::invalid_argument);
  EXPECT_THROW(rotdSpectra(ag, ag, kDt, kPeriods, kZeta, with({50}, 0.0)),
               std::invalid_argument);
  EXPECT_THROW(rotdSpectra(ag, ag, kDt, kPeriods, kZeta, with({50}, 91.0)),
               std::invalid_argument);
  try {
    rotdSpectra(ag, ag, kDt, kPeriods, {0.05, 5.0});
    ADD_FAILURE() << "a damping ratio of 5 was accepted";
  } catch (const std::invalid_argument& e) {
    EXPECT_NE(std::string(e.what()).find("damping ratio 5 "), std::string::npos) << e.what();
  }
}

}  // namespace
