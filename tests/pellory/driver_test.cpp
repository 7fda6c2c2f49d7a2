// Pellory driver: the nonlinear run and its two linear references per pair, the quantities
// derived from them, and the allocation failure.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "pellory/driver.h"
#include "pellory/newmark_var.h"
#include "support/calls.h"
#include "support/outputs.h"
#include "support/reference.h"

namespace {

enum Field {
  DSP, VEL, ACC, TOTACC, PSDVEL, PSDACC, RESDSP, IFRC, DFRC, RFRC, YIELDDSP, PSDYIELDVEL,
  PSDYIELDACC, YIELDFRC, MUFACT, RFACT, GAMMAFACT, EFFT, EFFZETA, EFFRFACT, EFFGAMMAFACT, FIELDS
};

// Outputs of one driver call, laid out as the gateway lays them out.
struct Spectra {
  int nT, nQd;
  double pga = 0.0;
  std::vector<double> f;
  std::vector<std::vector<double>> m;
  Spectra(int t, int q, double fill = 0.0)
      : nT(t), nQd(q), f(t, fill), m(FIELDS, std::vector<double>(t * q, fill)) {}
  double at(Field field, int j, int q) const { return m[field][j + q * nT]; }
};

int run(Spectra& s, const std::vector<double>& ag, int nAg, double dt, const std::vector<double>& T,
        double mass, const std::vector<double>& Qd, double alpha) {
  const core::SpectraOutputs out = support::bindOutputs(
      &s.pga, s.f.data(),
      {"dsp", "vel", "acc", "totAcc", "psdVel", "psdAcc", "resDsp", "iFrc", "dFrc", "rFrc",
       "yieldDsp", "psdYieldVel", "psdYieldAcc", "yieldFrc", "muFact", "RFact", "gammaFact",
       "effT", "effZeta", "effRFact", "effGammaFact"},
      s.m);
  pellory::Inputs in;
  in.ag = {ag.data(), nAg};
  in.dt = dt;
  in.m = mass;
  in.Qd = {Qd.data(), static_cast<int>(Qd.size())};
  in.periods = {T.data(), static_cast<int>(T.size())};
  in.alpha = alpha;
  return pellory::getSpectra(out, in);
}

constexpr double kDt = 0.01;
const double kTwoPi = std::acos(-1.0) + std::acos(-1.0);

TEST(lead_rubber_driver, bearing_that_never_yields_matches_its_linear_references) {
  // Elastic periods of 0.8 s and 1.3 s, so that ω·dt is small and Newmark's period error
  // (about (ω·dt)²/12) keeps its peaks within 1 % of the exact recursion.
  const std::vector<double> ag = support::testRecord(400, kDt, 3.0);
  const std::vector<double> T = {2.5, 4.0};
  const double alpha = 0.1;
  Spectra s(2, 1);
  ASSERT_EQ(run(s, ag, 400, kDt, T, 1.5, {1e9}, alpha), 0);
  for (int j = 0; j < 2; ++j) {
    EXPECT_LT(s.at(MUFACT, j, 0), 1.0);
    // The loop-area damping of a bearing below yield is negative and is clamped.
    EXPECT_EQ(s.at(EFFZETA, j, 0), 0.0);
    // Newmark against the exact recursion at the same stiffness: close, not identical.
    EXPECT_NEAR(s.at(GAMMAFACT, j, 0), 1.0, 0.01) << j;
    EXPECT_NEAR(s.at(EFFGAMMAFACT, j, 0), 1.0, 0.01) << j;
    // Secant stiffness = elastic stiffness, so the effective period is the elastic one.
    EXPECT_NEAR(s.at(EFFT, j, 0), T[j] * std::sqrt(alpha), 1e-9 * T[j]) << j;
    EXPECT_EQ(s.at(DFRC, j, 0), 0.0);
  }
}

TEST(lead_rubber_driver, yielding_bearing_has_ductility_damping_and_a_longer_period) {
  const std::vector<double> ag = support::testRecord(500, kDt, 4.0);
  const std::vector<double> T = {2.0, 3.0};
  const double mass = 1.0, alpha = 0.1, Qd = 0.05;
  Spectra s(2, 1);
  ASSERT_EQ(run(s, ag, 500, kDt, T, mass, {Qd}, alpha), 0);
  for (int j = 0; j < 2; ++j) {
    const double omega = kTwoPi / T[j];
    EXPECT_GT(s.at(MUFACT, j, 0), 2.0);
    EXPECT_GT(s.at(EFFZETA, j, 0), 0.0);
    EXPECT_LT(s.at(EFFZETA, j, 0), 2.0 / M_PI);  // the bound of a bilinear loop
    EXPECT_GT(s.at(EFFT, j, 0), T[j] * std::sqrt(alpha));
    EXPECT_LT(s.at(EFFT, j, 0), T[j]);
    EXPECT_EQ(s.at(YIELDFRC, j, 0), Qd / (1.0 - alpha));
    EXPECT_EQ(s.at(YIELDDSP, j, 0), (Qd / (1.0 - alpha)) / (((mass * omega) * omega) / alpha));
    EXPECT_EQ(s.at(PSDACC, j, 0), (s.at(DSP, j, 0) * omega) * omega);
    // The bearing force never leaves the band of the post-yield line ± Qd.
    const double kd = (mass * omega) * omega;
    EXPECT_GT(s.at(RFRC, j, 0), Qd);
    EXPECT_LE(s.at(RFRC, j, 0), (kd * s.at(DSP, j, 0) + Qd) * (1.0 + 1e-12));
  }
}

TEST(lead_rubber_driver, peaks_come_from_a_history_twice_the_record) {
  const std::vector<double> ag = support::testRecord(120, kDt, 2.0);
  const double T = 1.5, mass = 3.0, Qd = 0.2, alpha = 0.15;
  Spectra s(1, 1);
  ASSERT_EQ(run(s, ag, 120, kDt, {T}, mass, {Qd}, alpha), 0);

  const double omega = kTwoPi / T;
  const double ku = ((mass * omega) * omega) / alpha;
  std::vector<double> u(240), v(240), a(240), fs(240);
  ASSERT_EQ(pellory::newmarkVar(u.data(), v.data(), a.data(), fs.data(), ag.data(), 120, 240, kDt,
                                mass, 0.0, ku, Qd, alpha, 0.25, 0.5),
            0);
  double dsp = 0.0, totAcc = 0.0;
  for (int l = 0; l < 240; ++l) {
    dsp = std::max(dsp, std::fabs(u[l]));
    totAcc = std::max(totAcc, std::fabs(l < 120 ? a[l] + ag[l] : a[l]));
  }
  EXPECT_TRUE(support::sameBits(s.at(DSP, 0, 0), dsp));
  EXPECT_TRUE(support::sameBits(s.at(TOTACC, 0, 0), totAcc));
  EXPECT_TRUE(support::sameBits(s.at(RESDSP, 0, 0), std::fabs(u[239])));
  EXPECT_TRUE(support::sameBits(s.at(IFRC, 0, 0), totAcc * mass));
}

TEST(lead_rubber_driver, no_strengths_leaves_only_pga_and_frequencies) {
  const std::vector<double> ag = {0.1, -0.4, 0.2};
  Spectra s(2, 0);
  ASSERT_EQ(run(s, ag, 3, kDt, {0.5, 2.0}, 1.0, {}, 0.1), 0);
  EXPECT_EQ(s.pga, 0.4);
  EXPECT_EQ(s.f, (std::vector<double>{2.0, 0.5}));
}

TEST(lead_rubber_driver, histories_beyond_a_32_bit_count_fail_without_touching_outputs) {
  // Twice this record does not fit a 32-bit sample count; the driver must refuse before it
  // reads a single sample.
  const std::vector<double> ag = {0.1};
  Spectra s(1, 1, 5.0);
  s.pga = 5.0;
  EXPECT_EQ(run(s, ag, 1'500'000'000, kDt, {1.0}, 1.0, {0.1}, 0.1), -1);
  EXPECT_EQ(s.pga, 5.0);
  EXPECT_EQ(s.f[0], 5.0);
  EXPECT_EQ(s.at(DSP, 0, 0), 5.0);
}

}  // namespace
