// The friction-pendulum drivers of both variants: failed pairs, the equivalent-linear system of a
// bearing that never slides, the frictionless limit, and agreement between the two variants.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tillock/driver.h"
#include "tillock/driver_weight.h"
#include "support/calls.h"
#include "support/outputs.h"
#include "support/reference.h"

namespace {

constexpr double kG = 386.1;
constexpr double kDt = 0.01;

// The 23 output arrays of the mass-and-gravity driver, in its argument order.
enum MassField {
  dsp, vel, acc, totAcc, psdVel, psdAcc, resDsp, iFrc, dFrc, rFrc, yieldDsp, psdYieldVel,
  psdYieldAcc, yieldFrc, muFact, RFact, gammaFact, effT, effZeta, effRFact, effGammaFact,
  kMassMatrices
};

const std::vector<std::string> kMassFields = {
    "dsp",      "vel",         "acc",         "totAcc",   "psdVel", "psdAcc", "resDsp",
    "iFrc",     "dFrc",        "rFrc",        "yieldDsp", "psdYieldVel", "psdYieldAcc",
    "yieldFrc", "muFact",      "RFact",       "gammaFact", "effT",  "effZeta", "effRFact",
    "effGammaFact"};

struct MassSpectra {
  double pga = 0.0;
  std::vector<double> f;
  std::vector<std::vector<double>> out;
  std::int32_t status = 0;
  double at(MassField field, int i, int j, int nT) const { return out[field][i + j * nT]; }
};

MassSpectra massSpectra(const std::vector<double>& ag, const std::vector<double>& T, double m,
                        const std::vector<double>& frn, double uy) {
  const int nT = static_cast<int>(T.size()), nFrn = static_cast<int>(frn.size());
  MassSpectra s;
  s.f.assign(nT, 0.0);
  s.out.assign(kMassMatrices, std::vector<double>(nT * nFrn, 0.0));
  tillock::Inputs in;
  in.ag = {ag.data(), static_cast<int>(ag.size())};
  in.dt = kDt;
  in.m = m;
  in.g = kG;
  in.frn = {frn.data(), nFrn};
  in.periods = {T.data(), nT};
  in.uy = uy;
  s.status = tillock::getSpectra(support::bindOutputs(&s.pga, s.f.data(), kMassFields, s.out), in);
  return s;
}

// The 17 output arrays of the weight driver, in its argument order.
enum WeightField {
  wDsp, wVel, wAcc, wTotAcc, wPsdVel, wPsdAcc, wResDsp, wIFrc, wDFrc, wRFrc, wYieldDsp,
  wPsdYieldVel, wPsdYieldAcc, wYieldFrc, wRFact, wMuFact, wGammaFact, kWeightMatrices
};

const std::vector<std::string> kWeightFields = {
    "dsp",      "vel",         "acc",         "totAcc",   "psdVel", "psdAcc", "resDsp",
    "iFrc",     "dFrc",        "rFrc",        "yieldDsp", "psdYieldVel", "psdYieldAcc",
    "yieldFrc", "RFact",       "muFact",      "gammaFact"};

struct WeightSpectra {
  double pga = 0.0;
  std::vector<double> f;
  std::vector<std::vector<double>> out;
  std::int32_t status = 0;
};

WeightSpectra weightSpectra(const std::vector<double>& ag, const std::vector<double>& T, double W,
                            const std::vector<double>& frn, double uy) {
  const int nT = static_cast<int>(T.size()), nFrn = static_cast<int>(frn.size());
  WeightSpectra s;
  s.f.assign(nT, 0.0);
  s.out.assign(kWeightMatrices, std::vector<double>(nT * nFrn, 0.0));
  tillock::weight::Inputs in;
  in.ag = {ag.data(), static_cast<int>(ag.size())};
  in.dt = kDt;
  in.W = W;
  in.frn = {frn.data(), nFrn};
  in.periods = {T.data(), nT};
  in.uy = uy;
  s.status = tillock::weight::getSpectra(
      support::bindOutputs(&s.pga, s.f.data(), kWeightFields, s.out), in);
  return s;
}

// A pulse so strong (1e25) that the Newton iteration of the long-period pendulum never meets its
// tolerance at any sub-step, while the stiff one (T = 0.002 s) still converges.
std::vector<double> violentRecord() {
  std::vector<double> ag = {0.0, 1.0, 0.5, -0.5, 0.2, 0.0};
  for (double& x : ag) x *= 1e25;
  return ag;
}

TEST(friction_pendulum_driver, failed_pair_keeps_zeros_while_others_complete) {
  const std::vector<double> T = {2.0, 0.002}, frn = {0.05, 0.1};
  const MassSpectra s = massSpectra(violentRecord(), T, 1.0, frn, 0.01);
  ASSERT_EQ(s.status, 0);
  EXPECT_EQ(s.f[0], 0.5);
  for (int j = 0; j < 2; ++j) {
    for (int k = 0; k < kMassMatrices; ++k) {
      EXPECT_EQ(s.out[k][0 + j * 2], 0.0) << "field " << k << " frn " << j;
      if (k != dFrc) {
        EXPECT_NE(s.out[k][1 + j * 2], 0.0) << "field " << k << " frn " << j;
      }
    }
  }
}

TEST(friction_pendulum_driver, weight_variant_failed_pair_keeps_zeros_while_others_complete) {
  const std::vector<double> T = {2.0, 0.002}, frn = {0.05, 0.1};
  const WeightSpectra s = weightSpectra(violentRecord(), T, kG, frn, 0.01);
  ASSERT_EQ(s.status, 0);
  for (int j = 0; j < 2; ++j) {
    for (int k = 0; k < kWeightMatrices; ++k) {
      EXPECT_EQ(s.out[k][0 + j * 2], 0.0) << "field " << k << " frn " << j;
      if (k != wDFrc) {
        EXPECT_NE(s.out[k][1 + j * 2], 0.0) << "field " << k << " frn " << j;
      }
    }
  }
}

// A record of 2^30 samples would need histories of 2^31 samples, beyond a 32-bit count: the
// drivers refuse before reading the record or touching any output.
TEST(friction_pendulum_driver, histories_beyond_a_32_bit_count_fail_the_call) {
  const double ag = 0.0, T = 1.0, frn = 0.1;
  const std::int32_t nAg = 1 << 30;
  double pga = -1.0, f = -1.0;
  std::vector<std::vector<double>> out(kMassMatrices, std::vector<double>(1, -1.0));
  tillock::Inputs mass;
  mass.ag = {&ag, nAg};
  mass.dt = kDt;
  mass.m = 1.0;
  mass.g = kG;
  mass.frn = {&frn, 1};
  mass.periods = {&T, 1};
  mass.uy = 0.01;
  EXPECT_EQ(tillock::getSpectra(support::bindOutputs(&pga, &f, kMassFields, out), mass), -1);
  tillock::weight::Inputs weight;
  weight.ag = {&ag, nAg};
  weight.dt = kDt;
  weight.W = kG;
  weight.frn = {&frn, 1};
  weight.periods = {&T, 1};
  weight.uy = 0.01;
  EXPECT_EQ(tillock::weight::getSpectra(support::bindOutputs(&pga, &f, kWeightFields, out), weight),
            -1);
  EXPECT_EQ(pga, -1.0);
  EXPECT_EQ(f, -1.0);
  for (const std::vector<double>& x : out) EXPECT_EQ(x[0], -1.0);
}

// Below the pre-sliding displacement the bearing is the elastic reference system itself: no
// equivalent damping (clamped to 0, not negative), secant stiffness k1, identical demands.
TEST(friction_pendulum_driver, bearing_that_never_slides_has_no_equivalent_damping) {
  const std::vector<double> ag = support::testRecord(400, kDt, 10.0);
  const double m = 1.0, uy = 1.0;
  const std::vector<double> T = {1.0, 3.0}, frn = {0.3};
  const MassSpectra s = massSpectra(ag, T, m, frn, uy);
  ASSERT_EQ(s.status, 0);
  for (int i = 0; i < 2; ++i) {
    ASSERT_LT(s.at(muFact, i, 0, 2), 1.0);  // premise: never slides
    EXPECT_EQ(s.at(effZeta, i, 0, 2), 0.0);
    EXPECT_FALSE(std::signbit(s.at(effZeta, i, 0, 2)));
    const double omega = 2.0 * M_PI / T[i];
    const double k1 = ((0.3 * kG * m) / uy) + omega * omega * m;
    EXPECT_NEAR(s.at(effT, i, 0, 2), 2.0 * M_PI * std::sqrt(m / k1), 1e-12);
    EXPECT_NEAR(s.at(effRFact, i, 0, 2), s.at(RFact, i, 0, 2), 1e-12 * s.at(RFact, i, 0, 2));
    EXPECT_NEAR(s.at(effGammaFact, i, 0, 2), s.at(gammaFact, i, 0, 2), 1e-12);
    // Average-acceleration Newmark against the exact recurrence: period error ~ (ω·dt)²/12.
    EXPECT_NEAR(s.at(gammaFact, i, 0, 2), 1.0, 0.01);
  }
}

TEST(friction_pendulum_driver, frictionless_bearing_is_a_linear_pendulum) {
  const std::vector<double> ag = support::testRecord(400, kDt, 100.0);
  const std::vector<double> T = {2.0, 4.0}, frn = {0.0};
  const MassSpectra s = massSpectra(ag, T, 1.0, frn, 0.01);
  ASSERT_EQ(s.status, 0);
  for (int i = 0; i < 2; ++i) {
    const double omega = 2.0 * M_PI / T[i];
    // Peak force kp·dsp, and the isolated response is the elastic reference response.
    EXPECT_NEAR(s.at(rFrc, i, 0, 2), omega * omega * s.at(dsp, i, 0, 2),
                1e-9 * s.at(rFrc, i, 0, 2));
    EXPECT_NEAR(s.at(gammaFact, i, 0, 2), 1.0, 0.01);
    // Sliding throughout but without friction energy: no equivalent damping either.
    EXPECT_EQ(s.at(effZeta, i, 0, 2), 0.0);
  }
}

// A frictionless bearing that stays within uy gives (0·W)·(dsp − uy) = −0: the clamp compares
// with 0 and leaves it untouched.
TEST(friction_pendulum_driver, equivalent_damping_clamp_is_a_plain_comparison) {
  const std::vector<double> ag = support::testRecord(400, kDt, 1.0);
  const MassSpectra s = massSpectra(ag, {2.0}, 1.0, {0.0, 0.2}, 50.0);
  ASSERT_EQ(s.status, 0);
  EXPECT_TRUE(std::signbit(s.out[effZeta][0]));
  EXPECT_FALSE(std::signbit(s.out[effZeta][1]));
}

// Both variants integrate the same bilinear bearing by the same average-acceleration scheme, only
// with their own Newton tolerances and iteration limits: the shared outputs agree to 1e-9 of their
// size (about 1e-14 in practice).
TEST(friction_pendulum_driver, variants_agree_on_the_same_bearing) {
  const std::vector<double> ag = support::testRecord(800, kDt, 250.0);
  const std::vector<double> T = {1.5, 2.5, 4.0}, frn = {0.03, 0.08};
  const double m = 2.0, uy = 0.02;
  const MassSpectra a = massSpectra(ag, T, m, frn, uy);
  const WeightSpectra b = weightSpectra(ag, T, m * kG, frn, uy);
  ASSERT_EQ(a.status, 0);
  ASSERT_EQ(b.status, 0);
  EXPECT_EQ(a.pga, b.pga);
  const std::pair<MassField, WeightField> shared[] = {
      {dsp, wDsp},       {vel, wVel},         {acc, wAcc},       {totAcc, wTotAcc},
      {psdVel, wPsdVel}, {psdAcc, wPsdAcc},   {iFrc, wIFrc},     {dFrc, wDFrc},
      {rFrc, wRFrc},     {yieldDsp, wYieldDsp}, {psdYieldVel, wPsdYieldVel},
      {psdYieldAcc, wPsdYieldAcc}, {yieldFrc, wYieldFrc}, {muFact, wMuFact}, {RFact, wRFact},
      {gammaFact, wGammaFact}};
  for (int k = 0; k < 6; ++k) {
    ASSERT_GT(a.out[muFact][k], 3.0);  // premise: every pair slides well beyond uy
    for (const auto& [mass, weight] : shared)
      EXPECT_NEAR(a.out[mass][k], b.out[weight][k], 1e-9 * std::fabs(a.out[mass][k]))
          << "fields " << mass << "/" << weight << " entry " << k;
    EXPECT_NEAR(a.out[resDsp][k], b.out[wResDsp][k], 1e-9 * a.out[dsp][k]) << k;
  }
}

// Without friction the weight variant's hardening ratio kp/(k1 − kp) is infinite; it must still
// give the linear pendulum of the mass variant rather than NaN histories.
TEST(friction_pendulum_driver, weight_variant_without_friction_loses_its_numbers_after_yield) {
  // The hardening ratio kp/(k1 − kp) is infinite without friction: once the pendulum passes uy
  // the material state is not a number, and no NaN becomes a peak.
  const std::vector<double> ag = support::testRecord(400, kDt, 150.0);
  const std::vector<double> T = {2.0, 3.0}, frn = {0.0};
  const WeightSpectra b = weightSpectra(ag, T, 2.0 * kG, frn, 0.01);
  for (int i = 0; i < 2; ++i) {
    EXPECT_TRUE(std::isnan(b.out[wResDsp][i]));
    EXPECT_LE(b.out[wDsp][i], 0.01 * (1.0 + 1e-12));  // nothing beyond yield is a number
  }
}

}  // namespace
