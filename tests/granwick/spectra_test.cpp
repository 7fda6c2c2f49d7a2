// Granwick spectra: resultant peaks, the one-component module for motions along one axis,
// independence of the recording axes, record lengths and per-pair failures.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "core/spectra/output_store.h"
#include "granwick/driver.h"
#include "granwick/gateway.h"
#include "support/calls.h"
#include "support/reference.h"
#ifdef SPECTRA_HAVE_TILLOCK
#include "tillock/gateway.h"
#endif

namespace {

using support::Args;

const double kDt = 0.01;
const std::vector<std::string> kMatrixFields = {
    "dsp",    "vel",   "acc",       "totAcc",   "psdVel",      "psdAcc",      "resDsp",
    "iFrc",   "dFrc",  "rFrc",      "yieldDsp", "psdYieldVel", "psdYieldAcc", "yieldFrc",
    "muFact", "RFact", "gammaFact", "effT",     "effZeta",     "effRFact",    "effGammaFact"};

host::Outcome granwick2(const std::vector<double>& ag1, const std::vector<double>& ag2,
                        double m = 2.0, const std::vector<double>& T = {0.8, 2.5},
                        double uy = 0.004) {
  Args args;
  args.add(ag1).add(ag2).add(kDt).add(m).add(9.81).add(host::row({0.03, 0.1}));
  args.add(host::column(T)).add(uy);
  return support::call(granwick::mexFunction, args);
}

double largest(const std::vector<double>& values) {
  double peak = 0.0;
  for (double v : values) peak = std::fmax(peak, std::fabs(v));
  return peak;
}

// Every matrix field of a equals that of b within relative bound of the field's largest value.
void expectClose(const host::Outcome& a, const host::Outcome& b, double bound) {
  for (const std::string& name : kMatrixFields) {
    const std::vector<double>& x = a.values(name);
    const std::vector<double>& y = b.values(name);
    ASSERT_EQ(x.size(), y.size()) << name;
    const double tolerance = bound * largest(x);
    for (std::size_t i = 0; i < x.size(); ++i)
      EXPECT_NEAR(x[i], y[i], tolerance) << name << "[" << i << "]";
  }
}

TEST(GranwickSpectra, zero_second_component_agrees_with_the_one_component_module) {
#ifdef SPECTRA_HAVE_TILLOCK
  const std::vector<double> ag = support::testRecord(400, kDt, 4.0);
  const host::Outcome two = granwick2(ag, std::vector<double>(ag.size(), 0.0));
  ASSERT_TRUE(two.ok) << two.error;
  Args args;
  args.add(ag).add(kDt).add(2.0).add(9.81).add(host::row({0.03, 0.1}));
  args.add(host::column({0.8, 2.5})).add(0.004);
  const host::Outcome one = support::call(tillock::mexFunction, args);
  ASSERT_TRUE(one.ok) << one.error;
  EXPECT_EQ(two.fieldNames(), one.fieldNames());
  EXPECT_EQ(two.values("pga"), one.values("pga"));
  // The Newton iterations may stop one correction apart (their tests differ by a factor 0.5).
  expectClose(two, one, 1e-8);
#else
  GTEST_SKIP() << "the one-component module is not built";
#endif
}

TEST(GranwickSpectra, rotating_the_components_leaves_the_spectra_unchanged) {
  // Pendulum and friction circle are the same in every horizontal direction: the resultant
  // spectra do not depend on the orientation of the recording axes (within the Newton
  // tolerance). The 45° case compares a diagonal motion with one along an axis, which two
  // independent one-component isolators would get wrong.
  const std::vector<double> ag1 = support::testRecord(400, kDt, 4.0);
  std::vector<double> ag2 = support::testRecord(400, kDt, 2.5);
  for (std::size_t i = 0; i < ag2.size(); ++i) ag2[i] *= std::sin(0.07 * i);
  const host::Outcome original = granwick2(ag1, ag2);
  const host::Outcome alongAxis = granwick2(ag1, std::vector<double>(ag1.size(), 0.0));
  ASSERT_TRUE(original.ok && alongAxis.ok);
  for (double angle : {0.6, 2.0}) {
    std::vector<double> r1(ag1.size()), r2(ag1.size());
    for (std::size_t i = 0; i < ag1.size(); ++i) {
      r1[i] = std::cos(angle) * ag1[i] - std::sin(angle) * ag2[i];
      r2[i] = std::sin(angle) * ag1[i] + std::cos(angle) * ag2[i];
    }
    expectClose(granwick2(r1, r2), original, 1e-7);
  }
  const double diagonal = std::sqrt(0.5);
  std::vector<double> d1(ag1.size()), d2(ag1.size());
  for (std::size_t i = 0; i < ag1.size(); ++i) d1[i] = d2[i] = diagonal * ag1[i];
  expectClose(granwick2(d1, d2), alongAxis, 1e-7);
}

TEST(GranwickSpectra, records_of_different_lengths_are_cut_to_the_shorter) {
  // The tail is as long as the shorter record, so the cut record must give identical bits.
  const std::vector<double> longer = support::testRecord(260, kDt, 3.0);
  const std::vector<double> shorter = support::testRecord(200, kDt, -2.0);
  const std::vector<double> cut(longer.begin(), longer.begin() + 200);
  const host::Outcome expected = granwick2(cut, shorter);
  ASSERT_TRUE(expected.ok) << expected.error;
  EXPECT_EQ(support::firstDifference(granwick2(longer, shorter), expected), "");
  EXPECT_EQ(support::firstDifference(granwick2(shorter, longer), granwick2(shorter, cut)), "");
}

TEST(GranwickSpectra, pga_is_the_peak_of_the_resultant_not_of_a_component) {
  const host::Outcome out = granwick2({3.0, 1.0, -0.5, 0.0}, {0.0, 4.0, 0.5, 0.0});
  ASSERT_TRUE(out.ok) << out.error;
  EXPECT_EQ(out.values("pga")[0], std::sqrt(17.0));
}

TEST(GranwickSpectra, bearing_that_never_slides_has_no_equivalent_damping) {
  // Peak displacement within uy: the friction dissipates nothing, the clamped damping ratio is 0
  // and the secant system is the initial-stiffness system.
  const host::Outcome out = granwick2(support::testRecord(300, kDt, 0.02),
                                      support::testRecord(300, kDt, 0.01), 1.0, {1.5}, 0.05);
  ASSERT_TRUE(out.ok) << out.error;
  for (std::size_t j = 0; j < 2; ++j) {
    EXPECT_LT(out.values("dsp")[j], 0.05);
    EXPECT_GT(out.values("dsp")[j], 0.0);
    EXPECT_EQ(out.values("effZeta")[j], 0.0);
    EXPECT_NEAR(out.values("effRFact")[j], out.values("RFact")[j], 1e-9 * out.values("RFact")[j]);
    EXPECT_NEAR(out.values("effGammaFact")[j], out.values("gammaFact")[j],
                1e-9 * out.values("gammaFact")[j]);
    EXPECT_EQ(out.values("dFrc")[j], 0.0);
  }
}

TEST(GranwickSpectra, pairs_that_fail_to_converge_keep_zeros_and_the_call_succeeds) {
  // The Newton test is absolute (force times displacement), so at a mass of 2e35 the rounding of
  // the residual alone keeps it from being met at some periods at any sub-step, while at others
  // the sub-steps still converge.
  const std::vector<double> ag1 = support::testRecord(60, kDt, 3.0);
  const std::vector<double> ag2 = support::testRecord(60, kDt, -2.0);
  const host::Outcome out = granwick2(ag1, ag2, 2e35, {0.005, 0.01, 0.02, 0.05});
  ASSERT_TRUE(out.ok) << out.error;
  const std::vector<double>& dsp = out.values("dsp");
  std::string warnings;
  int failed = 0;
  for (std::size_t idx = 0; idx < dsp.size(); ++idx) {
    if (dsp[idx] != 0.0) continue;
    ++failed;
    warnings += "??? Granwick::newmarkVar - failed to converge: dtSub = 0.000000\n";
    for (const std::string& name : kMatrixFields) EXPECT_EQ(out.values(name)[idx], 0.0) << name;
  }
  EXPECT_EQ(out.console, warnings);  // one warning per failed pair, and only those
  EXPECT_GT(failed, 0);
  EXPECT_LT(failed, static_cast<int>(dsp.size()));
  EXPECT_EQ(out.values("f")[1], 1.0 / 0.01);  // frequencies are written for every period
}

// The driver inside a host call, for its console: 2·nAg does not fit a 32-bit sample count.
// The samples are never read.
void oversizedDriverCall(int, mxArray*[], int, const mxArray*[]) {
  const double ag[] = {1.0}, T[] = {1.0}, frn[] = {0.05};
  core::OutputStore store(1, 1);
  store.outputs().pga[0] = -1.0;
  store.outputs().f[0] = -1.0;
  granwick::Inputs in;
  in.ag1 = {ag, 1100000000};
  in.ag2 = {ag, 1100000000};
  in.dt = kDt;
  in.m = 1.0;
  in.g = 9.81;
  in.frn = {frn, 1};
  in.periods = {T, 1};
  in.uy = 0.01;
  const std::int32_t status = granwick::getSpectra(store.outputs(), in);
  if (status != -1 || store.pga() != -1.0 || store.f()[0] != -1.0)
    mexErrMsgTxt("outputs touched or no failure");
}

TEST(GranwickSpectra, scratch_failure_warns_and_touches_no_output) {
  const host::Outcome out = host::call(oversizedDriverCall, 1, {});
  EXPECT_TRUE(out.ok) << out.error;
  EXPECT_EQ(out.console, "??? Granwick::getSpectra - failed to create time-history vectors\n");
}

}  // namespace
