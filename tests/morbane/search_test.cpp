// The ductility search through the gateway: where it starts, and the peak it carries from one
// period to the next when periods run on several threads.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/runtime/execution.h"
#include "morbane/gateway.h"
#include "support/calls.h"
#include "support/reference.h"

namespace {

using support::Args;

constexpr double kDt = 0.02, kMass = 1.0, kZeta = 0.05, kKin = 0.02;

host::Outcome spectra(const std::vector<double>& ag, const std::vector<double>& T,
                      const char* method, double para) {
  Args args;
  args.add(ag).add(kDt).add(kMass).add(std::vector<double>{kZeta}).add(T);
  args.add(kKin).add(0.0).add(method).add(para);
  return support::call(morbane::mexFunction, args);
}

// The search is a fixed-point iteration on x = ln(fy) that starts at x = 1. A target ductility
// chosen as what the yield force e itself gives is met by that first trial, so the search
// settles at once, on e up to rounding; started anywhere else it would stop within its
// tolerance of 0.001 on ln(fy) instead.
TEST(ductilitySearch, starts_from_a_yield_force_of_e) {
  const double T = 1.0, e = std::exp(1.0);
  const std::vector<double> ag = support::testRecord(400, kDt, 8.0);
  const host::Outcome atE = spectra(ag, {T}, "fy", e);
  ASSERT_TRUE(atE.ok) << atE.error;
  const double omega = (std::acos(-1.0) + std::acos(-1.0)) / T;
  const double k = (kMass * omega) * omega;
  const double mu = (k * atE.values("dsp")[0]) / e;
  ASSERT_GT(mu, 1.5);  // premise: the oscillator yields well at fy = e

  const host::Outcome search = spectra(ag, {T}, "mu", mu);
  ASSERT_TRUE(search.ok) << search.error;
  EXPECT_NEAR(search.values("yieldFrc")[0], e, 1e-12 * e);
  EXPECT_NEAR(search.values("muFact")[0], mu, 1e-9 * mu);
}

// With a softening material (kin = −0.3) and a violent record, the stiff oscillator of 3 ms
// cannot be integrated once it yields at fy = e: its search goes on from the peak of the last
// completed trial of the 2 s oscillator before it, and what it then finds (here, a search that
// does not settle, and the ductility its warning reports) depends on that peak. On several
// threads the 3 ms period must receive it from the 2 s period's own trials, as on one thread.
TEST(ductilitySearch, a_failed_first_trial_continues_from_the_peak_carried_from_the_period_before) {
  const std::vector<double> T = {2.0, 0.003};
  const std::vector<double> ag = support::testRecord(200, 0.01, 100.0);
  auto run = [&](const char* method, double para) {
    Args args;
    args.add(ag).add(0.01).add(kMass).add(std::vector<double>{kZeta}).add(T);
    args.add(-0.3).add(0.0).add(method).add(para);
    return support::call(morbane::mexFunction, args);
  };
  core::setThreadCount(1);
  const host::Outcome atE = run("fy", std::exp(1.0));
  ASSERT_TRUE(atE.ok) << atE.error;
  ASSERT_GT(atE.values("dsp")[0], 0.0);  // premise: the 2 s trial at e completes ...
  ASSERT_EQ(atE.values("dsp")[1], 0.0);  // ... the 3 ms one fails
  ASSERT_NE(atE.console.find("Morbane::newmarkVar - failed to converge"), std::string::npos);

  const host::Outcome one = run("mu", 2.0);
  ASSERT_NE(one.console.find("Morbane::getSpectra - failed to converge: mu = "), std::string::npos);
  for (int threads : {2, 3}) {
    core::setThreadCount(threads);
    const host::Outcome many = run("mu", 2.0);
    EXPECT_EQ(many.console, one.console) << threads;
    EXPECT_EQ(many.error, one.error) << threads;
  }
  core::setThreadCount(0);
}

}  // namespace
