// Elastic driver: history lengths, peaks that NaN never reaches, and derived quantities.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/numerics/history_length.h"
#include "core/runtime/scratch.h"
#include "quorvel/driver.h"
#include "support/outputs.h"
#include "support/reference.h"

namespace {

// Outputs of one driver call, laid out as the gateway lays them out.
struct Spectra {
  int nT, nZeta;
  double pga = 0.0;
  std::vector<double> f;
  std::vector<std::vector<double>> m;  // dsp vel acc totAcc psdVel psdAcc resDsp iFrc dFrc rFrc
  Spectra(int t, int z) : nT(t), nZeta(z), f(t), m(10, std::vector<double>(t * z, 0.0)) {}
  double at(int field, int i, int j) const { return m[field][i + j * nT]; }
};
enum { DSP, VEL, ACC, TOTACC, PSDVEL, PSDACC, RESDSP, IFRC, DFRC, RFRC };

int run(Spectra& s, const std::vector<double>& ag, double dt, const std::vector<double>& T,
        double mass, const std::vector<double>& zeta, const char* method = "recform") {
  const core::SpectraOutputs out = support::bindOutputs(
      &s.pga, s.f.data(),
      {"dsp", "vel", "acc", "totAcc", "psdVel", "psdAcc", "resDsp", "iFrc", "dFrc", "rFrc"}, s.m);
  quorvel::Inputs in;
  in.ag = {ag.data(), static_cast<int>(ag.size())};
  in.dt = dt;
  in.m = mass;
  in.zeta = {zeta.data(), static_cast<int>(zeta.size())};
  in.periods = {T.data(), static_cast<int>(T.size())};
  in.method = method;
  return quorvel::getSpectra(out, in);
}

TEST(historyLength, worked_example_of_capacity_and_tails) {
  const double twoPi = std::acos(-1.0) + std::acos(-1.0);
  const std::int64_t nMax = core::historyCapacity(100, 0.05, 4.0, 0.1);
  EXPECT_EQ(nMax, 686);
  EXPECT_EQ(core::historyLength(100, 0.05, twoPi / 1.0, 0.1, nMax), 246);
  EXPECT_EQ(core::historyLength(100, 0.02, twoPi / 1.0, 0.1, nMax), 466);
  EXPECT_EQ(core::historyLength(100, 0.05, twoPi / 4.0, 0.1, nMax), 686);
  EXPECT_EQ(core::historyLength(100, 0.02, twoPi / 4.0, 0.1, nMax), 686);  // capped
}

TEST(historyLength, undamped_and_extreme_inputs_stay_within_bounds) {
  EXPECT_EQ(core::historyCapacity(100, 0.0, 4.0, 0.1), 100);
  EXPECT_EQ(core::historyCapacity(100, std::nan(""), 4.0, 0.1), 100);
  EXPECT_EQ(core::historyCapacity(100, 1e-9, 1e6, 0.01), 1000);  // 10·nAg bound
  EXPECT_EQ(core::historyLength(100, 0.0, 6.0, 0.1, 1000), 100);
  // A negative last period shrinks the capacity below the record: every analysis is cut to it.
  const std::int64_t nMax = core::historyCapacity(100, 0.05, -4.0, 0.1);
  EXPECT_LT(nMax, 100);
  EXPECT_GE(nMax, 1);
  EXPECT_EQ(core::historyLength(100, 0.0, 6.0, 0.1, nMax), nMax);
  // Quotients far outside the 32-bit range saturate instead of overflowing.
  EXPECT_EQ(core::historyLength(100, 1e-300, 1e-300, 1e-300, 1000), 1000);
  EXPECT_EQ(core::truncSaturated(std::nan("")), 0);
  EXPECT_EQ(core::truncSaturated(-2.9), -2);
}

TEST(getSpectra, peaks_agree_with_reference_histories) {
  const double dt = 0.01;
  const std::vector<double> ag = support::testRecord(500, dt, 2.0);
  const std::vector<double> T = {0.3, 1.2};
  const std::vector<double> zeta = {0.05, 0.1};
  Spectra s(2, 2);
  ASSERT_EQ(run(s, ag, dt, T, 3.0, zeta), 0);
  const double twoPi = std::acos(-1.0) + std::acos(-1.0);
  const std::int64_t nMax = core::historyCapacity(500, zeta[0], T[1], dt);
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 2; ++j) {
      const double omega = twoPi / T[i];
      const int nTH = core::historyLength(500, zeta[j], omega, dt, nMax);
      const support::History h = support::referenceLinear(ag, nTH, dt, omega, zeta[j], 100);
      double dsp = 0.0, vel = 0.0, totAcc = 0.0;
      for (int t = 0; t < nTH; ++t) {
        dsp = std::fmax(dsp, std::fabs(h.u[t]));
        vel = std::fmax(vel, std::fabs(h.v[t]));
        totAcc = std::fmax(totAcc, std::fabs(h.a[t] + (t < 500 ? ag[t] : 0.0)));
      }
      EXPECT_NEAR(s.at(DSP, i, j), dsp, 1e-7 * dsp);
      EXPECT_NEAR(s.at(VEL, i, j), vel, 1e-6 * vel);
      EXPECT_NEAR(s.at(TOTACC, i, j), totAcc, 1e-6 * totAcc);
      EXPECT_NEAR(s.at(RESDSP, i, j), std::fabs(h.u[nTH - 1]), 1e-7 * dsp);
      EXPECT_EQ(s.at(PSDACC, i, j), (omega * s.at(DSP, i, j)) * omega);
      EXPECT_EQ(s.at(IFRC, i, j), 3.0 * s.at(TOTACC, i, j));
      EXPECT_NEAR(s.at(DFRC, i, j), 2.0 * zeta[j] * std::sqrt(3.0 * 3.0 * omega * omega) * vel,
                  1e-6 * s.at(DFRC, i, j));
      EXPECT_NEAR(s.at(RFRC, i, j), 3.0 * omega * omega * dsp, 1e-6 * s.at(RFRC, i, j));
    }
  EXPECT_EQ(s.f[1], 1.0 / 1.2);
}

TEST(getSpectra, nan_histories_never_become_peaks) {
  // ζ ≥ 1 makes every recform sample after the first NaN: the peaks keep what sample 0 gives.
  const std::vector<double> ag = {0.5, -1.0, 0.25, 0.0};
  Spectra s(1, 1);
  ASSERT_EQ(run(s, ag, 0.01, {0.5}, 1.0, {1.2}), 0);
  EXPECT_EQ(s.at(DSP, 0, 0), 0.0);
  EXPECT_EQ(s.at(VEL, 0, 0), 0.0);
  EXPECT_EQ(s.at(ACC, 0, 0), 0.5);  // |a[0]| = |ag[0]|
  EXPECT_EQ(s.at(TOTACC, 0, 0), 0.0);
  EXPECT_TRUE(std::isnan(s.at(RESDSP, 0, 0)));
  EXPECT_EQ(s.pga, 1.0);
}

TEST(getSpectra, zero_period_gives_infinite_frequency_and_nan_pseudo_values) {
  const std::vector<double> ag = support::testRecord(50, 0.01);
  Spectra s(1, 1);
  ASSERT_EQ(run(s, ag, 0.01, {0.0}, 1.0, {0.05}), 0);
  EXPECT_TRUE(std::isinf(s.f[0]));
  EXPECT_EQ(s.at(DSP, 0, 0), 0.0);
  EXPECT_TRUE(std::isnan(s.at(PSDVEL, 0, 0)));
  EXPECT_TRUE(std::isnan(s.at(DFRC, 0, 0)));
}

TEST(getSpectra, negative_last_period_cannot_overrun_the_histories) {
  // Undamped analyses ask for the whole record while the capacity is below it; under the
  // sanitizers an overrun would be reported.
  const std::vector<double> ag = support::testRecord(200, 0.01);
  Spectra s(2, 2);
  ASSERT_EQ(run(s, ag, 0.01, {0.5, -0.5}, 1.0, {0.05, 0.0}), 0);
  // Here the capacity collapses to the initial sample, which every analysis then shares.
  EXPECT_EQ(s.at(DSP, 0, 1), 0.0);
  EXPECT_EQ(s.at(RESDSP, 1, 1), 0.0);
}

TEST(getSpectra, both_methods_agree_closely_for_fine_steps) {
  const double dt = 0.002;
  const std::vector<double> ag = support::testRecord(2000, dt);
  Spectra a(2, 1), b(2, 1);
  ASSERT_EQ(run(a, ag, dt, {0.5, 2.0}, 1.0, {0.05}, "recform"), 0);
  ASSERT_EQ(run(b, ag, dt, {0.5, 2.0}, 1.0, {0.05}, "newmark"), 0);
  for (int i = 0; i < 2; ++i) EXPECT_NEAR(a.at(DSP, i, 0), b.at(DSP, i, 0), 1e-3 * a.at(DSP, i, 0));
}

TEST(allocateScratch, refuses_lengths_beyond_a_32_bit_count) {
  core::Scratch scratch;
  EXPECT_FALSE(core::allocateScratch(scratch, 4, std::int64_t{1} << 40));
  EXPECT_FALSE(core::allocateScratch(scratch, 4, 0));
  ASSERT_TRUE(core::allocateScratch(scratch, 2, 3));
  EXPECT_EQ(scratch.vector(1)[2], 0.0);
}

}  // namespace
