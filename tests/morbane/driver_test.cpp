// The inelastic driver: strength definitions, the ductility search, and what failures of single
// analyses leave in the outputs.
#include "morbane/driver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "support/console.h"
#include "core/runtime/execution.h"
#include "support/calls.h"
#include "support/outputs.h"
#include "support/reference.h"

namespace {

// The 19 output arrays of one driver call, in argument order.
struct Spectra {
  std::int32_t nT = 0, nZeta = 0;
  double pga = 0.0;
  std::vector<double> f;
  std::vector<std::vector<double>> fields;  // dsp … gammaFact
  std::int32_t status = 0;
  std::string console;

  enum {
    dsp,
    vel,
    acc,
    totAcc,
    psdVel,
    psdAcc,
    resDsp,
    iFrc,
    dFrc,
    rFrc,
    yieldDsp,
    psdYieldVel,
    psdYieldAcc,
    yieldFrc,
    RFact,
    muFact,
    gammaFact,
    count
  };
  double at(int field, int i, int j = 0) const { return fields[field][i + j * nT]; }
};

struct Case {
  std::vector<double> ag;
  double dt = 0.02;
  std::vector<double> T = {0.3, 1.0};
  double m = 2.0;
  std::vector<double> zeta = {0.05};
  double kin = 0.02, iso = 0.0;
};

Spectra run(const Case& c, const char* method, double para) {
  Spectra s;
  s.nT = static_cast<std::int32_t>(c.T.size());
  s.nZeta = static_cast<std::int32_t>(c.zeta.size());
  s.f.assign(c.T.size(), 0.0);
  s.fields.assign(Spectra::count, std::vector<double>(c.T.size() * c.zeta.size(), 0.0));
  const core::SpectraOutputs out = support::bindOutputs(
      &s.pga, s.f.data(),
      {"dsp", "vel", "acc", "totAcc", "psdVel", "psdAcc", "resDsp", "iFrc", "dFrc", "rFrc",
       "yieldDsp", "psdYieldVel", "psdYieldAcc", "yieldFrc", "RFact", "muFact", "gammaFact"},
      s.fields);
  morbane::Inputs in;
  in.ag = {c.ag.data(), static_cast<std::int32_t>(c.ag.size())};
  in.dt = c.dt;
  in.m = c.m;
  in.zeta = {c.zeta.data(), s.nZeta};
  in.periods = {c.T.data(), s.nT};
  in.kin = c.kin;
  in.iso = c.iso;
  in.method = method;
  in.para = para;
  s.console = support::consoleOf([&] { s.status = morbane::getSpectra(out, in); });
  return s;
}

Case standardCase() {
  Case c;
  c.ag = support::testRecord(400, c.dt, 3.0);
  return c;
}

TEST(inelasticDriver, a_reduction_factor_of_one_sets_the_yield_force_to_the_elastic_force) {
  const Spectra s = run(standardCase(), "R", 1.0);
  ASSERT_EQ(s.status, 0);
  for (int i = 0; i < s.nT; ++i) {
    EXPECT_EQ(s.at(Spectra::RFact, i), 1.0);
    EXPECT_LE(s.at(Spectra::muFact, i), 1.5);  // barely yields, if at all
  }
}

TEST(inelasticDriver, a_reduction_factor_of_two_is_reproduced_and_the_oscillator_yields) {
  const Case c = standardCase();
  const Spectra s = run(c, "strengthReductionFactor", 2.0);
  ASSERT_EQ(s.status, 0);
  for (int i = 0; i < s.nT; ++i) {
    EXPECT_NEAR(s.at(Spectra::RFact, i), 2.0, 1e-15);
    EXPECT_GT(s.at(Spectra::muFact, i), 1.0);
    // The yield quantities follow from the yield force and the period.
    const double omega = 2.0 * M_PI * s.f[i];
    EXPECT_NEAR(s.at(Spectra::psdYieldAcc, i), s.at(Spectra::yieldFrc, i) / c.m,
                1e-12 * s.at(Spectra::yieldFrc, i));
    EXPECT_NEAR(s.at(Spectra::psdYieldVel, i), s.at(Spectra::yieldDsp, i) * omega,
                1e-12 * s.at(Spectra::psdYieldVel, i));
  }
}

TEST(inelasticDriver, a_target_ductility_of_four_is_reached) {
  Case c = standardCase();
  c.T = {0.7, 1.5, 2.5};
  const Spectra s = run(c, "ductilityFactor", 4.0);
  ASSERT_EQ(s.status, 0);
  EXPECT_EQ(s.console, "");
  // The final strength differs from the last trial's by at most a factor e^0.001, and the peak
  // displacement with it: well within 1 %.
  for (int i = 0; i < s.nT; ++i) EXPECT_NEAR(s.at(Spectra::muFact, i), 4.0, 0.04) << "T " << i;
}

TEST(inelasticDriver, a_ductility_search_that_does_not_settle_fails_the_call) {
  // At short periods the fixed-point iteration on the strength keeps jumping for this record.
  Case c = standardCase();
  c.T = {1.0, 0.1};
  const Spectra s = run(c, "mu", 4.0);
  EXPECT_EQ(s.status, -1);
  EXPECT_EQ(s.console.rfind("??? Morbane::getSpectra - failed to converge: mu = ", 0), 0u);
  EXPECT_EQ(s.console.find('\n'), s.console.size() - 1);
  // The oscillator analysed before keeps its results; the failing one has none.
  EXPECT_NEAR(s.at(Spectra::muFact, 0), 4.0, 0.04);
  EXPECT_EQ(s.at(Spectra::dsp, 1), 0.0);
}

TEST(inelasticDriver, a_strong_oscillator_behaves_elastically) {
  const Spectra s = run(standardCase(), "fy", 1e6);
  ASSERT_EQ(s.status, 0);
  for (int i = 0; i < s.nT; ++i) {
    EXPECT_LT(s.at(Spectra::muFact, i), 1.0);
    // Exact recursive and Newmark integrations differ by the Newmark discretisation error only,
    // a few per cent at dt/T = 1/15.
    EXPECT_NEAR(s.at(Spectra::gammaFact, i), 1.0, 0.06);
  }
}

TEST(inelasticDriver, a_yield_displacement_gives_the_yield_force_through_the_stiffness) {
  const Case c = standardCase();
  const Spectra s = run(c, "uy", 0.01);
  ASSERT_EQ(s.status, 0);
  for (int i = 0; i < s.nT; ++i) {
    const double omega = (M_PI + M_PI) / c.T[i];
    EXPECT_EQ(s.at(Spectra::yieldFrc, i), ((c.m * omega) * omega) * 0.01);
    EXPECT_NEAR(s.at(Spectra::yieldDsp, i), 0.01, 1e-17);
  }
}

TEST(inelasticDriver, a_record_at_rest_gives_undefined_factors) {
  Case c = standardCase();
  c.ag.assign(100, 0.0);
  for (const char* method : {"mu", "R", "fy"}) {
    const Spectra s = run(c, method, 4.0);
    ASSERT_EQ(s.status, 0) << method;
    for (int i = 0; i < s.nT; ++i) {
      EXPECT_EQ(s.at(Spectra::dsp, i), 0.0);
      EXPECT_TRUE(std::isnan(s.at(Spectra::gammaFact, i))) << method;
    }
  }
  const Spectra s = run(c, "mu", 4.0);
  for (int i = 0; i < s.nT; ++i) {
    EXPECT_EQ(s.at(Spectra::yieldFrc, i), 0.0);  // trials at e, then 0: the search stops there
    EXPECT_EQ(s.at(Spectra::yieldDsp, i), 0.0);
    EXPECT_TRUE(std::isnan(s.at(Spectra::RFact, i)));
    EXPECT_TRUE(std::isnan(s.at(Spectra::muFact, i)));
  }
}

// A record whose analyses at the period of `failing` cannot converge: forces near 1e20 with
// displacements below the material's strain cache, at a step below the smallest halvable sub-step.
Case failingCase(double* failingPeriod) {
  Case c;
  c.dt = 0.5e-10;
  const double K = 4e22 * std::pow(4.0, 29);
  const double k = K / 2.0;
  c.m = k * c.dt * (0.25 * c.dt);
  c.ag = {5e-17 * K / (2.0 * c.m), 5e-17 * K / (2.0 * c.m)};
  c.zeta = {0.0};
  c.kin = 0.0;
  *failingPeriod = 2.0 * M_PI / std::sqrt(k / c.m);
  return c;
}

constexpr const char* kDtSubWarning =
    "??? Morbane::newmarkVar - failed to converge: dtSub = 0.000000\n";

TEST(inelasticDriver, a_failed_final_analysis_leaves_zeros_and_the_call_succeeds) {
  double failing = 0.0;
  Case c = failingCase(&failing);
  c.T = {100.0 * failing, failing};
  const Spectra s = run(c, "fy", 1e300);
  EXPECT_EQ(s.status, 0);
  EXPECT_EQ(s.console, kDtSubWarning);
  EXPECT_GT(s.at(Spectra::dsp, 0), 0.0);
  EXPECT_EQ(s.f[1], 1.0 / failing);
  for (int field = 0; field < Spectra::count; ++field) EXPECT_EQ(s.at(field, 1), 0.0) << field;
}

TEST(inelasticDriver, failed_trials_before_any_completed_one_search_from_a_zero_peak) {
  double failing = 0.0;
  Case c = failingCase(&failing);
  c.T = {failing};
  const Spectra s = run(c, "mu", 4.0);
  // Trials at e and at e^ln(0) = 0 fail, the search stops at fy = 0, and the final analysis
  // fails too: three warnings, zeros, and still a successful call.
  EXPECT_EQ(s.status, 0);
  EXPECT_EQ(s.console, std::string(kDtSubWarning) + kDtSubWarning + kDtSubWarning);
  EXPECT_EQ(s.at(Spectra::yieldFrc, 0), 0.0);
}

TEST(inelasticDriver, an_unknown_strength_definition_fails_before_touching_the_outputs) {
  const Spectra s = run(standardCase(), "ductility", 4.0);
  EXPECT_EQ(s.status, -1);
  EXPECT_EQ(s.pga, 0.0);
  EXPECT_EQ(s.f[0], 0.0);
  EXPECT_EQ(s.console, "??? Morbane::getSpectra - invalid strength definition received\n");
}

}  // namespace

// Periods run on several threads; failed trials borrow the peak of an earlier period's trial and
// a failed search ends the call, exactly as on one thread, warnings in the same order.
TEST(inelasticDriver, every_thread_count_gives_the_same_results_and_warnings) {
  double failing = 0.0;
  Case carried = failingCase(&failing);
  carried.T = {100.0 * failing, failing, 50.0 * failing, failing, failing, 80.0 * failing};
  Case unsettled = standardCase();
  unsettled.T = {1.0, 0.6, 0.3, 0.05, 0.02, 2.0};
  struct Run {
    const Case* c;
    const char* method;
    double para;
  };
  for (const Run& r : {Run{&carried, "mu", 4.0}, Run{&carried, "fy", 1e300},
                       Run{&unsettled, "mu", 4.0}, Run{&unsettled, "R", 3.0}}) {
    core::setThreadCount(1);
    const Spectra one = run(*r.c, r.method, r.para);
    for (int threads : {2, 3, 6}) {
      core::setThreadCount(threads);
      const Spectra many = run(*r.c, r.method, r.para);
      EXPECT_EQ(many.status, one.status) << r.method << " " << threads;
      EXPECT_EQ(many.console, one.console) << r.method << " " << threads;
      if (one.status != 0) continue;  // a failed call delivers no outputs
      for (int field = 0; field < Spectra::count; ++field)
        for (std::size_t i = 0; i < one.fields[field].size(); ++i)
          EXPECT_TRUE(support::sameResult(many.fields[field][i], one.fields[field][i]))
              << r.method << " " << threads << " threads, field " << field << "[" << i << "]";
    }
  }
  core::setThreadCount(0);
}
