// The hardening material: return mapping for the three hardening cases, the strain cache and the
// trial/commit split of the internal variables.
#include "morbane/hardening.h"

#include <gtest/gtest.h>

#include <cmath>

#include "support/console.h"

namespace {

constexpr double kE = 4.0;
constexpr double kFy = 1.0;

using Action = morbane::HardeningAction;

struct Material {
  morbane::HardeningState state{"Morbane"};
  double Hkin, Hiso;

  Material(double hkin, double hiso) : Hkin(hkin), Hiso(hiso) {
    morbane::hardening(state, Action::Initialise, 0.0, kE, kFy, Hkin, Hiso);
  }
  double stress(double strain) {
    return morbane::hardening(state, Action::Stress, strain, kE, kFy, Hkin, Hiso);
  }
  double tangent(double strain) {
    return morbane::hardening(state, Action::Tangent, strain, kE, kFy, Hkin, Hiso);
  }
  void commit() { morbane::hardening(state, Action::Commit, 0.0, kE, kFy, Hkin, Hiso); }
};

TEST(hardening, initialisation_clears_the_state_and_sets_the_elastic_tangent) {
  Material mat(0.0, 0.0);
  mat.state.strainPlasticC = 3.0;
  mat.state.stressT = 2.0;
  morbane::hardening(mat.state, Action::Initialise, 0.7, kE, kFy, 0.0, 0.0);
  EXPECT_EQ(mat.state.strainPlasticC, 0.0);
  EXPECT_EQ(mat.state.stressT, 0.0);
  EXPECT_EQ(mat.state.strainT, 0.0);
  EXPECT_EQ(mat.stress(0.0), 0.0);
  EXPECT_EQ(mat.tangent(0.0), kE);
}

TEST(hardening, perfectly_plastic_returns_to_the_yield_stress_and_unloads_elastically) {
  Material mat(0.0, 0.0);
  EXPECT_EQ(mat.stress(0.5), 1.0);  // trial 2.0, f = 1.0, Δγ = 0.25
  EXPECT_EQ(mat.tangent(0.5), 0.0);
  mat.commit();
  EXPECT_EQ(mat.state.strainPlasticC, 0.25);
  EXPECT_EQ(mat.stress(0.375), 0.5);
  EXPECT_EQ(mat.tangent(0.375), kE);
}

TEST(hardening, perfectly_plastic_stress_never_exceeds_the_yield_stress) {
  Material mat(0.0, 0.0);
  double strain = 0.0;
  for (int s = 0; s < 400; ++s) {
    strain += 0.05 * std::sin(0.1 * s) * (1.0 + s / 50.0);
    EXPECT_LE(std::fabs(mat.stress(strain)), kFy) << "step " << s;
    mat.commit();
  }
}

TEST(hardening, kinematic_hardening_moves_the_elastic_range) {
  Material mat(4.0, 0.0);
  EXPECT_EQ(mat.stress(0.5), 1.5);  // Δγ = 0.125
  EXPECT_EQ(mat.tangent(0.5), 2.0);
  EXPECT_EQ(mat.state.stressBackT, 0.5);
  EXPECT_EQ(mat.state.strainPlasticT, 0.125);
  mat.commit();
  // Range 0.5 ± 1: unloading to a stress of −0.5 is still elastic, beyond it is plastic.
  EXPECT_EQ(mat.stress(0.0), -0.5);
  EXPECT_EQ(mat.tangent(0.0), kE);
  EXPECT_EQ(mat.tangent(-0.1), 2.0);
}

TEST(hardening, isotropic_hardening_widens_the_elastic_range_symmetrically) {
  Material mat(0.0, 4.0);
  EXPECT_EQ(mat.stress(-0.5), -1.5);
  EXPECT_EQ(mat.tangent(-0.5), 2.0);
  EXPECT_EQ(mat.state.strainPlasticT, -0.125);
  EXPECT_EQ(mat.state.hardeningT, 0.125);
  mat.commit();
  // Elastic range −1.5 … 1.5 about the plastic strain −0.125.
  EXPECT_EQ(mat.stress(0.25), 1.5);
  EXPECT_EQ(mat.tangent(0.25), kE);
  EXPECT_EQ(mat.tangent(0.26), 2.0);
}

TEST(hardening, trial_evaluations_leave_the_committed_state_alone) {
  Material mat(1.0, 0.5);
  mat.stress(0.6);
  mat.commit();
  const morbane::HardeningState committed = mat.state;
  for (double strain : {2.0, -3.0, 0.1, 5.0, -0.4}) {
    mat.stress(strain);
    mat.tangent(strain);
  }
  EXPECT_EQ(mat.state.strainPlasticC, committed.strainPlasticC);
  EXPECT_EQ(mat.state.stressBackC, committed.stressBackC);
  EXPECT_EQ(mat.state.hardeningC, committed.hardeningC);
  // A re-evaluation starts from the committed values, whatever came before.
  Material again(1.0, 0.5);
  again.stress(0.6);
  again.commit();
  EXPECT_EQ(mat.stress(0.2), again.stress(0.2));
}

TEST(hardening, commit_keeps_the_last_plastic_evaluation_even_after_an_elastic_one) {
  Material mat(0.0, 0.0);
  mat.stress(0.5);                  // plastic: εp trial 0.25
  EXPECT_EQ(mat.stress(0.1), 0.4);  // elastic from the committed εp = 0
  mat.commit();
  EXPECT_EQ(mat.state.strainPlasticC, 0.25);
  EXPECT_EQ(mat.state.stressT, 0.4);  // the stored stress is not recomputed by the commit
}

TEST(hardening, strains_within_machine_epsilon_reuse_the_stored_evaluation) {
  Material mat(0.0, 0.0);
  mat.stress(0.5);
  mat.commit();
  // Re-evaluated, a strain just below 0.5 would now be elastic (tangent 4); within the cache the
  // stored plastic tangent 0 comes back, also at a distance of exactly 2^-52.
  EXPECT_EQ(mat.tangent(0.5 - 1e-16), 0.0);
  EXPECT_EQ(mat.tangent(0.5 - 0x1p-52), 0.0);
  EXPECT_EQ(mat.tangent(0.5 - 3e-16), kE);
  // A NaN strain never passes the test either.
  EXPECT_EQ(mat.stress(std::nan("")), mat.stress(0.5 - 3e-16));
}

// A value outside the four named actions (from a cast of a wrong code).
TEST(hardening, a_wrong_action_warns_with_the_module_name_and_changes_nothing) {
  Material mat(0.0, 0.0);
  mat.stress(0.5);
  const morbane::HardeningState before = mat.state;
  double result0 = 0.0, result5 = 0.0;
  const std::string console = support::consoleOf([&] {
    result0 = morbane::hardening(mat.state, static_cast<Action>(0), 9.0, kE, kFy, 0.0, 0.0);
    mat.state.module = "Tillock";
    result5 = morbane::hardening(mat.state, static_cast<Action>(5), 9.0, kE, kFy, 0.0, 0.0);
  });
  EXPECT_EQ(result0, -1.0);
  EXPECT_EQ(result5, -1.0);
  EXPECT_EQ(console,
            "??? Morbane::hardening - wrong action received\n"
            "??? Tillock::hardening - wrong action received\n");
  EXPECT_EQ(mat.state.strainT, before.strainT);
  EXPECT_EQ(mat.state.stressT, before.stressT);
  EXPECT_EQ(mat.state.strainPlasticT, before.strainPlasticT);
  EXPECT_EQ(mat.tangent(0.5), 0.0);
}

}  // namespace
