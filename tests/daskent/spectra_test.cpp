// Daskent spectra against the one-component module and against the physics of a plane oscillator
// that is equally stiff in every direction.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "quorvel/gateway.h"
#include "core/spectra/output_store.h"
#include "daskent/driver.h"
#include "daskent/gateway.h"
#include "support/calls.h"
#include "support/reference.h"

namespace {

using support::Args;

const double kDt = 0.01;
const std::vector<std::string> kMatrixFields = {"dsp",    "vel",    "acc",  "totAcc", "psdVel",
                                                "psdAcc", "resDsp", "iFrc", "dFrc",   "rFrc"};

// A second component unlike the first: another record reversed in time.
std::vector<double> otherRecord(int n) {
  const std::vector<double> record = support::testRecord(n, kDt, 0.7);
  return std::vector<double>(record.rbegin(), record.rend());
}

// The damping ratios include 0 (no tail) and the periods straddle the record's content.
host::Outcome daskent2(const std::vector<double>& ag1, const std::vector<double>& ag2,
                       const char* method = "recform") {
  Args args;
  args.add(ag1).add(ag2).add(kDt).add(2.5).add(host::row({0.05, 0.0, 0.2}));
  args.add(host::column({0.15, 0.6, 2.0})).add(method);
  return support::call(daskent::mexFunction, args);
}

host::Outcome quorvel1(const std::vector<double>& ag, const char* method = "recform") {
  Args args;
  args.add(ag).add(kDt).add(2.5).add(host::row({0.05, 0.0, 0.2}));
  args.add(host::column({0.15, 0.6, 2.0})).add(method);
  return support::call(quorvel::mexFunction, args);
}

double largest(const std::vector<double>& values) {
  double peak = 0.0;
  for (double v : values) peak = std::fmax(peak, std::fabs(v));
  return peak;
}

// Every matrix field of a equals scale times that of b, within relative bound of the field's
// largest value.
void expectScaled(const host::Outcome& a, const host::Outcome& b, double scale, double bound) {
  for (const std::string& name : kMatrixFields) {
    const std::vector<double>& x = a.values(name);
    const std::vector<double>& y = b.values(name);
    ASSERT_EQ(x.size(), y.size()) << name;
    const double tolerance = bound * largest(x);
    for (std::size_t i = 0; i < x.size(); ++i)
      EXPECT_NEAR(x[i], scale * y[i], tolerance) << name << "[" << i << "]";
  }
}

TEST(DaskentSpectra, zero_second_component_reproduces_quorvel_bit_for_bit) {
  // The resultant of (x, 0) is |x| exactly, so every field must be identical.
  const std::vector<double> ag = support::testRecord(300, kDt, 3.0);
  const std::vector<double> zeros(ag.size(), 0.0);
  for (const char* method : {"recform", "newmark"}) {
    const host::Outcome two = daskent2(ag, zeros, method);
    ASSERT_TRUE(two.ok) << two.error;
    EXPECT_EQ(support::firstDifference(two, quorvel1(ag, method)), "") << method;
    // The same with the record in the second component.
    EXPECT_EQ(support::firstDifference(daskent2(zeros, ag, method), quorvel1(ag, method)), "")
        << method;
  }
}

TEST(DaskentSpectra, equal_components_scale_every_value_by_root_two) {
  const std::vector<double> ag = support::testRecord(300, kDt, 3.0);
  for (const char* method : {"recform", "newmark"}) {
    const host::Outcome two = daskent2(ag, ag, method);
    const host::Outcome one = quorvel1(ag, method);
    ASSERT_TRUE(two.ok) << two.error;
    // √(2x²) against √2·|x|: a few roundings apart.
    expectScaled(two, one, std::sqrt(2.0), 4 * DBL_EPSILON);
    EXPECT_NEAR(two.values("pga")[0], std::sqrt(2.0) * one.values("pga")[0], 1e-15);
    EXPECT_EQ(two.values("f"), one.values("f"));
  }
}

TEST(DaskentSpectra, rotating_the_components_leaves_the_spectra_unchanged) {
  // The oscillator is equally stiff and damped in every horizontal direction: resultant peaks do
  // not depend on the orientation of the recording axes (up to rounding).
  const std::vector<double> ag1 = support::testRecord(400, kDt, 2.0);
  const std::vector<double> ag2 = otherRecord(400);
  const double angle = 0.7;
  std::vector<double> r1(ag1.size()), r2(ag1.size());
  for (std::size_t i = 0; i < ag1.size(); ++i) {
    r1[i] = std::cos(angle) * ag1[i] - std::sin(angle) * ag2[i];
    r2[i] = std::sin(angle) * ag1[i] + std::cos(angle) * ag2[i];
  }
  for (const char* method : {"recform", "newmark"}) {
    const host::Outcome original = daskent2(ag1, ag2, method);
    const host::Outcome rotated = daskent2(r1, r2, method);
    ASSERT_TRUE(original.ok && rotated.ok);
    expectScaled(rotated, original, 1.0, 1e-12);
    EXPECT_NEAR(rotated.values("pga")[0], original.values("pga")[0], 1e-14);
    // A truly two-dimensional motion: not the one-component spectrum of either axis.
    EXPECT_GT(original.values("dsp")[1], quorvel1(ag1, method).values("dsp")[1] * 1.001);
  }
}

TEST(DaskentSpectra, records_of_different_lengths_are_cut_to_the_shorter) {
  const std::vector<double> longer = support::testRecord(320, kDt, 2.0);
  const std::vector<double> shorter = otherRecord(250);
  const std::vector<double> cut(longer.begin(), longer.begin() + 250);
  const host::Outcome expected = daskent2(cut, shorter);
  ASSERT_TRUE(expected.ok) << expected.error;
  EXPECT_EQ(support::firstDifference(daskent2(longer, shorter), expected), "");
  EXPECT_EQ(support::firstDifference(daskent2(shorter, longer), daskent2(shorter, cut)), "");
}

TEST(DaskentSpectra, pga_is_the_peak_of_the_resultant_not_of_a_component) {
  const std::vector<double> ag1 = {3.0, 1.0, -0.5, 0.0};
  const std::vector<double> ag2 = {0.0, 4.0, 0.5, 0.0};
  EXPECT_EQ(daskent2(ag1, ag2).values("pga")[0], std::sqrt(17.0));
}

// The driver inside a host call, for its console: a record long enough that eight histories of
// ten times its length cannot be counted in 32 bits. The samples are never read.
void oversizedDriverCall(int, mxArray*[], int, const mxArray*[]) {
  const double ag[] = {1.0}, T[] = {1e9}, zeta[] = {0.05};
  core::OutputStore store(1, 1);
  store.outputs().pga[0] = -1.0;
  store.outputs().f[0] = -1.0;
  daskent::Inputs in;
  in.ag1 = {ag, 300000000};
  in.ag2 = {ag, 300000000};
  in.dt = kDt;
  in.m = 1.0;
  in.zeta = {zeta, 1};
  in.periods = {T, 1};
  const std::int32_t status = daskent::getSpectra(store.outputs(), in);
  if (status != -1 || store.pga() != -1.0 || store.f()[0] != -1.0)
    mexErrMsgTxt("outputs touched or no failure");
}

TEST(DaskentSpectra, scratch_failure_warns_and_touches_no_output) {
  const host::Outcome out = host::call(oversizedDriverCall, 1, {});
  EXPECT_TRUE(out.ok) << out.error;
  EXPECT_EQ(out.console, "??? Daskent::getSpectra - failed to create time-history vectors\n");
}

}  // namespace
