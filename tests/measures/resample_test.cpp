// Band-limited resampling against analytic band-limited signals, its effect on short-period
// spectra, the automatic factor and the pairing of components sampled at different steps.
#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "measures/resample.h"
#include "quorvel/gateway.h"
#include "support/calls.h"

namespace {

// A few sines well below the Nyquist frequency under a sin² taper that is zero at both ends:
// a finite sum of sines, so its value at any time is known exactly.
struct BandLimited {
  double duration;
  std::vector<double> hertz;

  double at(double t) const {
    const double taper = std::pow(std::sin(M_PI * t / duration), 2);
    double sum = 0.0;
    for (std::size_t i = 0; i < hertz.size(); ++i)
      sum += std::sin(2.0 * M_PI * hertz[i] * t + 0.7 * i) / (1.0 + i);
    return taper * sum;
  }
  std::vector<double> sampled(double dt) const {
    const int n = static_cast<int>(std::lround(duration / dt)) + 1;
    std::vector<double> x(n);
    for (int k = 0; k < n; ++k) x[k] = at(k * dt);
    return x;
  }
};

double largest(const std::vector<double>& x) {
  double peak = 0.0;
  for (double v : x) peak = std::fmax(peak, std::fabs(v));
  return peak;
}

TEST(Resample, band_limited_signal_matches_its_analytic_fine_samples) {
  const double dt = 0.01;  // Nyquist frequency 50 Hz; the content stays below 18 Hz
  const BandLimited signal{10.0, {1.1, 3.7, 8.3, 17.9}};
  const std::vector<double> coarse = signal.sampled(dt);
  for (int factor : {2, 4, 7}) {
    const std::vector<double> fine = measures::resample(coarse, factor);
    ASSERT_EQ(fine.size(), (coarse.size() - 1) * factor + 1);
    const double step = dt / factor;
    double worst = 0.0, worstInside = 0.0;
    for (std::size_t s = 0; s < fine.size(); ++s) {
      const double t = s * step;
      const double error = std::fabs(fine[s] - signal.at(t));
      worst = std::fmax(worst, error);
      if (t > 1.0 && t < signal.duration - 1.0) worstInside = std::fmax(worstInside, error);
    }
    // The taper ends with zero slope, so even the ends interpolate well.
    EXPECT_LT(worstInside, 1e-9 * largest(coarse)) << factor;
    EXPECT_LT(worst, 1e-6 * largest(coarse)) << factor;
  }
}

TEST(Resample, keeps_the_original_samples_and_a_factor_of_one_changes_nothing) {
  const BandLimited signal{3.0, {2.0, 9.0}};
  std::vector<double> record = signal.sampled(0.01);
  record[0] = 0.25;  // a jump at the start must not disturb the kept samples either
  const std::vector<double> same = measures::resample(record, 1);
  ASSERT_EQ(same.size(), record.size());
  for (std::size_t k = 0; k < record.size(); ++k) ASSERT_TRUE(support::sameBits(same[k], record[k]));
  const std::vector<double> fine = measures::resample(record, 5);
  for (std::size_t k = 0; k < record.size(); ++k)
    ASSERT_TRUE(support::sameBits(fine[5 * k], record[k])) << k;
  EXPECT_EQ(measures::resample({0.5}, 4), std::vector<double>({0.5}));
  EXPECT_TRUE(measures::resample({}, 4).empty());
  EXPECT_THROW(measures::resample(record, 0), std::invalid_argument);
}

// The textbook form, evaluated term by term: the band-limited function whose spectrum is the
// DFT X of the record padded to N samples, with X[N/2] split in halves between ±N/2, at time t
// (in steps): (1/N)·Σ over −N/2 ≤ m ≤ N/2 of c_m·X[m]·e^(2πi·m·t/N), c = 1/2 at ±N/2, else 1.
double textbookInterpolation(const std::vector<double>& record, std::size_t N, double t) {
  double sum = 0.0;
  for (long m = -static_cast<long>(N / 2); m <= static_cast<long>(N / 2); ++m) {
    double re = 0.0, im = 0.0;  // X[m] = Σ x[k]·e^(−2πi·m·k/N)
    for (std::size_t k = 0; k < record.size(); ++k) {
      re += record[k] * std::cos(2.0 * M_PI * m * k / N);
      im -= record[k] * std::sin(2.0 * M_PI * m * k / N);
    }
    const double weight = std::labs(m) * 2 == static_cast<long>(N) ? 0.5 : 1.0;
    const double phase = 2.0 * M_PI * m * t / N;
    sum += weight * (re * std::cos(phase) - im * std::sin(phase));
  }
  return sum / N;
}

TEST(Resample, equals_the_zero_padded_spectrum_term_by_term_with_content_at_nyquist) {
  // Short and rough: much of it alternates sign from sample to sample.
  const std::vector<double> record = {0.0, 1.0, -0.8, 0.9, -1.0, 0.3, 0.6, -0.7, 1.0, -0.2, 0.1};
  const std::size_t N = measures::fastTransformLength(2 * record.size());
  ASSERT_EQ(N, 24u);
  for (int factor : {2, 3, 8}) {
    const std::vector<double> fine = measures::resample(record, factor);
    for (std::size_t s = 0; s < fine.size(); ++s)
      EXPECT_NEAR(fine[s], textbookInterpolation(record, N, static_cast<double>(s) / factor), 1e-13)
          << "factor " << factor << ", sample " << s;
  }
}

// PSA of the elastic module, mass 1, ζ = 5 %.
std::vector<double> psa(const std::vector<double>& ag, double dt, const std::vector<double>& T) {
  support::Args args;
  args.add(ag).add(dt).add(1.0).add(0.05).add(host::column(T));
  const host::Outcome out = support::call(quorvel::mexFunction, args);
  EXPECT_TRUE(out.ok) << out.error;
  return out.values("psdAcc");
}

TEST(Resample, short_period_psa_of_a_resampled_record_moves_toward_the_finely_sampled_one) {
  // A record sampled at 0.001 s with content up to 41 Hz, and the same record decimated to
  // 0.01 s (Nyquist 50 Hz, so nothing aliases).
  const BandLimited signal{8.0, {2.3, 7.1, 15.7, 24.9, 33.3, 41.0}};
  const std::vector<double> fine = signal.sampled(0.001);
  std::vector<double> coarse;
  for (std::size_t k = 0; k < fine.size(); k += 10) coarse.push_back(fine[k]);
  const std::vector<double> T = {0.01, 0.02, 0.03, 0.04, 0.05};
  const int factor = measures::resampleFactor(0.01, T.front());
  ASSERT_EQ(factor, 10);
  const std::vector<double> exact = psa(fine, 0.001, T);
  const std::vector<double> before = psa(coarse, 0.01, T);
  const std::vector<double> after = psa(measures::resample(coarse, factor), 0.01 / factor, T);
  for (std::size_t i = 0; i < T.size(); ++i) {
    EXPECT_LT(std::fabs(after[i] - exact[i]), std::fabs(before[i] - exact[i])) << T[i];
    EXPECT_LT(std::fabs(after[i] - exact[i]), 1e-6 * exact[i]) << T[i];
  }
}

TEST(Resample, automatic_factor_is_the_smallest_giving_ten_steps_per_shortest_period) {
  EXPECT_EQ(measures::resampleFactor(0.005, 0.05), 1);  // exactly ten steps already
  EXPECT_EQ(measures::resampleFactor(0.01, 0.05), 2);
  EXPECT_EQ(measures::resampleFactor(0.01, 0.03), 4);   // 3 gives 0.00333 s > 0.003 s
  EXPECT_EQ(measures::resampleFactor(0.02, 0.01), 20);
  EXPECT_THROW(measures::resampleFactor(0.0, 0.05), std::invalid_argument);
  EXPECT_THROW(measures::resampleFactor(0.01, -0.05), std::invalid_argument);
  EXPECT_THROW(measures::resampleFactor(0.01, 1e-6), std::invalid_argument);  // factor 100000
}

TEST(Resample, pairing_resamples_the_coarser_component_or_says_why_it_cannot) {
  const BandLimited signal{2.0, {3.0}};
  const std::vector<double> coarse = signal.sampled(0.01), fine = signal.sampled(0.005);
  const measures::ComponentPair pair = measures::pairComponents(coarse, 0.01, fine, 0.005);
  EXPECT_EQ(pair.dt, 0.005);
  EXPECT_EQ(pair.factor1, 2);
  EXPECT_EQ(pair.factor2, 1);
  EXPECT_EQ(pair.ag1, measures::resample(coarse, 2));
  EXPECT_EQ(pair.ag2, fine);
  const measures::ComponentPair same = measures::pairComponents(fine, 0.005, fine, 0.005);
  EXPECT_EQ(same.ag1, fine);
  EXPECT_EQ(same.factor1, 1);
  try {
    measures::pairComponents(coarse, 0.01, fine, 0.003);
    ADD_FAILURE() << "steps 0.01 s and 0.003 s were paired";
  } catch (const std::invalid_argument& e) {
    const std::string text = e.what();
    EXPECT_NE(text.find("0.01 s"), std::string::npos) << text;
    EXPECT_NE(text.find("0.003 s"), std::string::npos) << text;
  }
}

}  // namespace
