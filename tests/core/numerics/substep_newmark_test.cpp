// The sub-stepping Newmark integrator shared by the nonlinear modules: which attempts it keeps,
// when it halves and when it gives up, steps without time, and the coupled two-component step.
#include "core/numerics/substep_newmark.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "support/calls.h"
#include "support/console.h"
#include "support/reference.h"
#include "support/substep.h"

namespace {

// Limits as a module would set them, with a tolerance that is a power of two so that the
// designed attempts below settle at an exactly known correction.
constexpr core::SubstepLimits kLimits{0x1p-40, 8, 6, 1e-8, core::StepWithoutTime::Attempted,
                                      "Test"};

template <std::size_t N>
struct Outcome {
  std::vector<double> u[N], v[N], a[N], fs[N];
  std::int32_t status = 0;
  std::string console;
};

// Integrates osc over nTH samples of the records ag (one per component); every sample, and one
// more than nTH (at least two), is preset to 7 to show what was written.
template <class Law>
Outcome<Law::kComponents> integrate(core::SubstepOscillator<Law>& osc,
                                const std::vector<std::vector<double>>& ag, int nTH, double dt,
                                const core::SubstepLimits& limits) {
  constexpr std::size_t N = Law::kComponents;
  Outcome<N> run;
  core::SubstepHistories<N> h{};
  core::GroundRecord<N> ground{{}, static_cast<std::int32_t>(ag[0].size())};
  for (std::size_t k = 0; k < N; ++k) {
    for (auto* x : {&run.u[k], &run.v[k], &run.a[k], &run.fs[k]})
      x->assign(static_cast<std::size_t>(std::max(nTH, 1) + 1), 7.0);
    h.u[k] = run.u[k].data();
    h.v[k] = run.v[k].data();
    h.a[k] = run.a[k].data();
    h.fs[k] = run.fs[k].data();
    ground.ag[k] = ag[k].data();
  }
  run.console = support::consoleOf([&] {
    run.status =
        core::integrateSubstepped(osc, h, ground, nTH, dt, core::newmarkFactors(0.25, 0.5), limits);
  });
  return run;
}

// Sample 0 is the oscillator at rest under the first ground sample (an empty record is ground at
// rest); a history of one sample, or none, gets nothing else, whatever the module.
TEST(substepNewmark, short_histories_get_only_the_state_at_rest) {
  for (core::StepWithoutTime policy : {core::StepWithoutTime::Attempted, core::StepWithoutTime::Held})
    for (int nTH : {1, 0})
      for (const std::vector<double>& ag : {std::vector<double>{2.5, 1.0}, std::vector<double>{}}) {
        core::SubstepLimits limits = kLimits;
        limits.stepWithoutTime = policy;
        core::SubstepOscillator<support::LinearLaw<1>> osc{{{{{100.0}}}}, 1.0, 0.5};
        const Outcome<1> run = integrate(osc, {ag}, nTH, 0.01, limits);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.u[0][0], 0.0);
        EXPECT_EQ(run.v[0][0], 0.0);
        EXPECT_EQ(run.fs[0][0], 0.0);
        EXPECT_EQ(run.a[0][0], ag.empty() ? 0.0 : -2.5);
        EXPECT_EQ(run.u[0][1], 7.0);  // untouched
        EXPECT_EQ(osc.law.evaluations, 0);
      }
}

// With m = 1, dt = 1 and k = 4 the frozen law halves the residual at every correction, so a
// step from rest to the ground 2^e settles (correction work below 2^-40) at correction e + 20.
TEST(substepNewmark, an_attempt_settled_at_the_last_accepted_correction_is_kept_and_one_more_halves_it) {
  for (const auto& [exponent, corrections] : {std::pair{-14, 6}, std::pair{-13, 7}}) {
    const double A = std::ldexp(1.0, exponent);
    core::Sample<1> attempt;
    ASSERT_EQ(support::attemptFromRest(support::FrozenLaw{4.0}, 1.0, 1.0, {0.0}, {A}, kLimits,
                                       attempt),
              corrections);
    core::SubstepOscillator<support::FrozenLaw> osc{{4.0}, 1.0, 0.0};
    const Outcome<1> run = integrate(osc, {{0.0, A}}, 2, 1.0, kLimits);
    ASSERT_EQ(run.status, 0);
    const bool whole = corrections <= kLimits.lastAccepted;
    EXPECT_EQ(osc.law.commits, whole ? 1 : 2) << "two half sub-steps after a rejection";
    EXPECT_EQ(support::sameBits(run.u[0][1], attempt.u[0]), whole);
    EXPECT_EQ(support::sameBits(run.v[0][1], attempt.v[0]), whole);
  }
}

TEST(substepNewmark, a_rejected_sub_step_below_the_smallest_halvable_fails_with_the_module_warning) {
  core::SubstepLimits rejectAll = kLimits;
  rejectAll.lastAccepted = 0;
  rejectAll.smallestHalvable = 0.3;
  core::SubstepOscillator<support::FrozenLaw> osc{{4.0}, 1.0, 0.0};
  const Outcome<1> run = integrate(osc, {{0.0, 1.0, 2.0}}, 3, 1.0, rejectAll);
  EXPECT_EQ(run.status, -1);
  // Rejected at 1 and 0.5, both halvable; 0.25 is not.
  EXPECT_EQ(run.console, "??? Test::newmarkVar - failed to converge: dtSub = 0.250000\n");
  EXPECT_EQ(osc.law.commits, 0);
  EXPECT_EQ(run.u[0][2], 7.0);  // the next step was never started
}

// After the first half of a step of 2^30 s is accepted, every attempt is rejected down to a
// sub-step of 2^-24, the first that no longer advances the time 2^29 (still far above the
// smallest halvable 1e-8), and that attempt would settle. Accepting it would leave the time
// where it is, for ever.
TEST(substepNewmark, a_sub_step_too_small_to_advance_the_time_fails_instead_of_looping) {
  const int rejectedAttempts = 29 + 24 + 1;  // 2^29 … 2^-23 after the accepted half
  for (core::StepWithoutTime policy : {core::StepWithoutTime::Attempted, core::StepWithoutTime::Held}) {
    core::SubstepLimits limits = kLimits;
    limits.tolerance = 1e-12;
    limits.stepWithoutTime = policy;
    const support::ScriptedLaw law{8, 8 * rejectedAttempts, 0, 0, 0, 0.0, 1.0};
    core::SubstepOscillator<support::ScriptedLaw> osc{law, 1.0, 0.0};
    const Outcome<1> run = integrate(osc, {{0.0, 0.0}}, 2, std::ldexp(1.0, 30), limits);
    EXPECT_EQ(run.status, -1);
    EXPECT_EQ(run.console, "??? Test::newmarkVar - failed to converge: dtSub = 0.000000\n");
    EXPECT_EQ(osc.dtSub, std::ldexp(1.0, -24));
    EXPECT_EQ(osc.law.commits, 1);
    EXPECT_LT(osc.law.evaluations, 1000);
  }
}

// dt = 0, negative or NaN: a module that attempts such a step makes exactly one attempt, which
// is accepted (a NaN step after one correction: its residual is NaN); one that holds it keeps
// the committed state and the force of the sample before.
TEST(substepNewmark, a_step_without_time_is_attempted_once_or_holds_the_committed_state) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (double dt : {0.0, -0.01, nan}) {
    core::SubstepLimits limits = kLimits;
    core::SubstepOscillator<support::LinearLaw<1>> attempted{{{{{4.0}}}}, 1.0, 0.0};
    const Outcome<1> once = integrate(attempted, {{0.3, 1.0, 2.0}}, 4, dt, limits);
    EXPECT_EQ(once.status, 0) << dt;
    EXPECT_EQ(attempted.law.commits, 3) << dt;
    if (std::isnan(dt)) {
      EXPECT_EQ(attempted.law.evaluations, 2 * 3);  // one correction and the acceptance per step
      for (int s = 1; s < 4; ++s) EXPECT_TRUE(std::isnan(once.u[0][s])) << s;
    }

    limits.stepWithoutTime = core::StepWithoutTime::Held;
    core::SubstepOscillator<support::LinearLaw<1>> held{{{{{4.0}}}}, 1.0, 0.0};
    const Outcome<1> none = integrate(held, {{0.3, 1.0, 2.0}}, 4, dt, limits);
    EXPECT_EQ(none.status, 0) << dt;
    EXPECT_EQ(held.law.evaluations, 0) << dt;
    for (int s = 1; s < 4; ++s) {
      EXPECT_EQ(none.u[0][s], 0.0) << dt;
      EXPECT_EQ(none.v[0][s], 0.0) << dt;
      EXPECT_EQ(none.a[0][s], -0.3) << dt;
      EXPECT_EQ(none.fs[0][s], 0.0) << dt;
    }
  }
}

// For a linear law (with a symmetric stiffness, as every tangent of an elastic-plastic law is)
// the first Newton correction solves the step's coupled 2 × 2 system, so every step ends after a
// second, negligible correction and equilibrium holds to rounding.
TEST(substepNewmark, the_two_component_correction_solves_the_coupled_system) {
  const double m = 1.0, cd = 0.2, dt = 0.01, k = 1e4;
  const std::vector<double> ag1 = support::testRecord(300, dt, 3.0);
  const std::vector<double> ag2 = support::testRecord(300, dt * 1.3, -2.0);
  support::LinearLaw<2> law{{{{3.0 * k, -1.5 * k}, {-1.5 * k, 2.0 * k}}}};
  core::SubstepOscillator<support::LinearLaw<2>> osc{law, m, cd};
  core::SubstepLimits limits = kLimits;
  limits.tolerance = 1e-12;
  const int nTH = 400;
  const Outcome<2> run = integrate(osc, {ag1, ag2}, nTH, dt, limits);
  ASSERT_EQ(run.status, 0);
  EXPECT_EQ(osc.law.commits, nTH - 1);
  EXPECT_LE(osc.law.evaluations, 3 * (nTH - 1));
  for (int s = 1; s < nTH; ++s) {
    const double g[] = {s < 300 ? ag1[s] : 0.0, s < 300 ? ag2[s] : 0.0};
    for (int c = 0; c < 2; ++c) {
      const double spring = law.K[c][0] * run.u[0][s] + law.K[c][1] * run.u[1][s];
      ASSERT_NEAR(m * (run.a[c][s] + g[c]) + cd * run.v[c][s] + spring, 0.0, 1e-9)
          << "sample " << s << " component " << c;
      ASSERT_EQ(run.fs[c][s], spring) << "sample " << s;
    }
  }
}

}  // namespace
