// Two-component batches against full histories and magnitudes formed at every sample.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <vector>

#include "core/lanes/elastic_batch.h"
#include "core/numerics/magnitude.h"
#include "core/numerics/newmark.h"
#include "core/numerics/recform.h"
#include "support/calls.h"
#include "support/reference.h"

namespace {

// What a two-component driver takes from full histories, one oscillator at a time.
core::OscillatorPeaks straightforward(core::ElasticMethod method, const std::vector<double>& ag1,
                                      const std::vector<double>& ag2, double dt, double m,
                                      const core::Oscillator& o) {
  const int n = o.nTH, nAg = static_cast<int>(ag1.size());
  std::vector<double> u1(n), v1(n), a1(n), f1(n), u2(n), v2(n), a2(n), f2(n);
  if (method == core::ElasticMethod::Recform) {
    core::recform(u1.data(), v1.data(), a1.data(), f1.data(), ag1.data(), nAg, n, dt, m, o.zeta, o.k);
    core::recform(u2.data(), v2.data(), a2.data(), f2.data(), ag2.data(), nAg, n, dt, m, o.zeta, o.k);
  } else {
    core::newmark(u1.data(), v1.data(), a1.data(), f1.data(), ag1.data(), nAg, n, dt, m, o.zeta, o.k,
                  0.25, 0.5);
    core::newmark(u2.data(), v2.data(), a2.data(), f2.data(), ag2.data(), nAg, n, dt, m, o.zeta, o.k,
                  0.25, 0.5);
  }
  core::OscillatorPeaks p{0, 0, 0, 0, 0, 0};
  auto raise = [](double& peak, double c) {
    if (c > peak) peak = c;
  };
  for (int s = 0; s < n; ++s) {
    raise(p.dsp, core::magnitude(u1[s], u2[s]));
    raise(p.vel, core::magnitude(v1[s], v2[s]));
    raise(p.acc, core::magnitude(a1[s], a2[s]));
    raise(p.totAcc, s < nAg ? core::magnitude(a1[s] + ag1[s], a2[s] + ag2[s])
                            : core::magnitude(a1[s], a2[s]));
    raise(p.rFrc, core::magnitude(f1[s], f2[s]));
  }
  p.resDsp = core::magnitude(u1[n - 1], u2[n - 1]);
  return p;
}

TEST(elasticPeaks2, equals_magnitudes_formed_at_every_sample) {
  const double dt = 0.01, m = 1.7;
  std::vector<double> ag1 = support::testRecord(250, dt, 2.0);
  std::vector<double> ag2 = support::testRecord(250, dt * 1.37, 1.5);
  ag2[77] = std::numeric_limits<double>::quiet_NaN();
  std::vector<core::Oscillator> oscillators;
  int n = 1;
  for (double period : {0.05, 0.3, 1.0, 4.0, 0.0})
    for (double zeta : {0.0, 0.05, 1.2}) {
      const double omega = 2.0 * M_PI / period;
      oscillators.push_back({omega * (omega * m), zeta, 1 + (n * 97) % 400});
      ++n;
    }
  for (core::ElasticMethod method : {core::ElasticMethod::Recform, core::ElasticMethod::Newmark})
    for (int unit = 0; unit <= static_cast<int>(core::widestVectorUnit()); ++unit) {
      const std::vector<core::OscillatorPeaks> got =
          core::elasticPeaks2(method, ag1.data(), ag2.data(), 250, dt, m, oscillators,
                              static_cast<core::VectorUnit>(unit), 2);
      for (std::size_t o = 0; o < oscillators.size(); ++o) {
        const core::OscillatorPeaks want = straightforward(method, ag1, ag2, dt, m, oscillators[o]);
        const double g[] = {got[o].dsp, got[o].vel, got[o].acc, got[o].totAcc, got[o].rFrc, got[o].resDsp};
        const double w[] = {want.dsp, want.vel, want.acc, want.totAcc, want.rFrc, want.resDsp};
        for (int q = 0; q < 6; ++q)
          ASSERT_TRUE(support::sameResult(g[q], w[q]))
              << "oscillator " << o << " quantity " << q << " unit " << unit << ": " << g[q]
              << " vs " << w[q];
      }
    }
}

}  // namespace

namespace {

// Peaks placed a few units in the last place around the candidate, where a filter that is not
// conservative enough would skip a sample that the exact magnitude makes a new peak.
TEST(raiseMagnitude, decides_exactly_as_forming_every_magnitude) {
  std::uint64_t state = 12345;
  auto next = [&state]() {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<double>(state >> 11) * 0x1.0p-53;
  };
  const double specials[] = {0.0, -0.0, 1e-310, 1e-160, 1e160, 1e300,
                             std::numeric_limits<double>::infinity(),
                             std::numeric_limits<double>::quiet_NaN()};
  for (int trial = 0; trial < 200000; ++trial) {
    double x = (next() - 0.5) * std::pow(10.0, std::floor(next() * 40.0) - 20.0);
    double y = (next() - 0.5) * std::pow(10.0, std::floor(next() * 40.0) - 20.0);
    if (trial % 97 == 0) x = specials[trial % 8];
    if (trial % 89 == 0) y = specials[(trial / 3) % 8];
    const double exact = core::magnitude(x, y);
    double peak = exact;
    const int ulps = static_cast<int>(next() * 9.0) - 4;
    for (int u = 0; u < std::abs(ulps); ++u)
      peak = std::nextafter(peak, ulps < 0 ? 0.0 : std::numeric_limits<double>::infinity());
    if (trial % 13 == 0) peak = 0.0;
    double fast = peak;
    core::raiseMagnitude(fast, x, y);
    const double naive = exact > peak ? exact : peak;
    ASSERT_TRUE(support::sameResult(fast, naive)) << x << ", " << y << ", peak " << peak;
  }
}

}  // namespace

namespace {

// Values whose square by the power function differs from the product (a small share of all):
// only pairs made of them can make the estimate x·x + y·y misjudge which magnitude is larger.
// A deterministic search.
std::vector<double> valuesSquaredDifferently(std::size_t count) {
  std::uint64_t state = 987654321;
  std::vector<double> found;
  while (found.size() < count) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    const double x = (static_cast<double>(state >> 11) * 0x1.0p-53 - 0.5) * 8.0;
    if (core::powerSquare(x) != x * x) found.push_back(x);
  }
  return found;
}

// Pairs whose product estimate falls below peak·peak although their magnitude
// √(pow(x, 2) + pow(y, 2)) beats the peak, the largest double below that magnitude: a filter
// without padding would skip them.
TEST(raiseMagnitude, pads_the_estimate_where_an_unpadded_one_would_miss_a_new_peak) {
  const std::vector<double> values = valuesSquaredDifferently(60);
  int witnesses = 0;
  for (double x : values)
    for (double y : values) {
      const double exact = core::magnitude(x, y);
      const double below = std::nextafter(exact, 0.0);
      if (!(x * x + y * y < below * below)) continue;
      ++witnesses;
      double peak = below;
      core::raiseMagnitude(peak, x, y);
      EXPECT_TRUE(support::sameBits(peak, exact)) << x << ", " << y;
    }
  EXPECT_GT(witnesses, 0) << "no pair found whose estimate misleads";
}

// A free mass (k = 0) under Newmark's average acceleration with dt = 2^-7 and m = 1: every
// constant is a power of two, so the relative acceleration is −ag at sample 0 and exactly −p1
// at sample 1 whenever ag0 + p1 is exact (opposite signs within a factor 2), and 0 after the
// record. The acceleration peak is then the larger magnitude of two pairs of our choosing: one
// whose estimate is the larger, and one whose magnitude is.
struct Misleading {
  double x0, y0, x1, y1;
};

std::vector<Misleading> pairsWithMisleadingEstimates() {
  const std::vector<double> values = valuesSquaredDifferently(40);
  std::vector<Misleading> found;
  for (double x : values)
    for (double y : values)
      for (int dx = -3; dx <= 3; ++dx)
        for (int dy = -3; dy <= 3; ++dy) {
          double x1 = x, y1 = y;
          for (int i = 0; i < std::abs(dx); ++i) x1 = std::nextafter(x1, dx * HUGE_VAL);
          for (int i = 0; i < std::abs(dy); ++i) y1 = std::nextafter(y1, dy * HUGE_VAL);
          if (x1 * x1 + y1 * y1 < x * x + y * y && core::magnitude(x1, y1) > core::magnitude(x, y))
            found.push_back({x, y, x1, y1});
        }
  return found;
}

TEST(elasticPeaks2, pads_the_estimate_where_an_unpadded_threshold_would_miss_the_peak) {
  const double dt = 0x1p-7, m = 1.0;
  const std::vector<Misleading> cases = pairsWithMisleadingEstimates();
  ASSERT_FALSE(cases.empty()) << "no pairs found whose estimates mislead";
  const core::Oscillator freeMass{0.0, 0.0, 4};
  for (const Misleading& c : cases) {
    const std::vector<double> ag1 = {-c.x0, c.x1}, ag2 = {-c.y0, c.y1};
    const core::OscillatorPeaks want =
        straightforward(core::ElasticMethod::Newmark, ag1, ag2, dt, m, freeMass);
    ASSERT_TRUE(support::sameBits(want.acc, core::magnitude(c.x1, c.y1)));  // premise
    for (int unit = 0; unit <= static_cast<int>(core::widestVectorUnit()); ++unit) {
      const std::vector<core::OscillatorPeaks> got =
          core::elasticPeaks2(core::ElasticMethod::Newmark, ag1.data(), ag2.data(), 2, dt, m,
                              {freeMass}, static_cast<core::VectorUnit>(unit), 1);
      ASSERT_TRUE(support::sameBits(got[0].acc, want.acc))
          << c.x0 << ", " << c.y0 << " then " << c.x1 << ", " << c.y1 << ", unit " << unit;
    }
  }
}

}  // namespace
