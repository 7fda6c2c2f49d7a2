// Return-mapping evaluation of the hardening material, with a strain cache and a trial/commit
// split of the internal variables.
#include "morbane/hardening.h"

#include <cmath>

#include "core/runtime/console.h"

namespace morbane {

namespace {

constexpr double kStrainTolerance = 2.220446049250313e-16;

void initialise(HardeningState& state, double E) {
  state.strainPlasticC = 0.0;
  state.stressBackC = 0.0;
  state.hardeningC = 0.0;
  state.strainPlasticT = 0.0;
  state.stressBackT = 0.0;
  state.hardeningT = 0.0;
  state.strainT = 0.0;
  state.stressT = 0.0;
  state.tangentT = E;
}

// Closest-point return from the committed state: an elastic predictor, then, if the relative
// stress lies outside the (shifted, expanded) yield surface, a single linear plastic correction,
// which is exact for linear hardening. Trial internal variables are written only when plastic,
// so a later commit keeps those of the last plastic evaluation.
void evaluate(HardeningState& state, double strain, double E, double fy, double Hkin, double Hiso) {
  state.strainT = strain;
  state.stressT = (strain - state.strainPlasticC) * E;
  const double xi = state.stressT - state.stressBackC;
  const double f = std::fabs(xi) - (state.hardeningC * Hiso + fy);
  if (f <= 0.0) {
    state.tangentT = E;
    return;
  }
  // Reached also when f is NaN.
  const double dGamma = f / ((E + Hkin) + Hiso);
  const double s = xi < 0.0 ? -1.0 : 1.0;
  state.stressT = state.stressT - (E * dGamma) * s;
  state.strainPlasticT = s * dGamma + state.strainPlasticC;
  state.hardeningT = dGamma + state.hardeningC;
  state.stressBackT = s * (Hkin * dGamma) + state.stressBackC;
  state.tangentT = E * (Hiso + Hkin) / ((E + Hkin) + Hiso);
}

void commit(HardeningState& state) {
  state.strainPlasticC = state.strainPlasticT;
  state.stressBackC = state.stressBackT;
  state.hardeningC = state.hardeningT;
}

}  // namespace

double hardening(HardeningState& state, std::int32_t action, double strain, double E, double fy,
                 double Hkin, double Hiso) {
  switch (action) {
    case 1:
      initialise(state, E);
      return 0.0;
    case 2:
    case 3:
      // The cache spares the re-evaluation when the strain has not moved; a NaN strain fails
      // the test and returns the stored values.
      if (std::fabs(state.strainT - strain) > kStrainTolerance)
        evaluate(state, strain, E, fy, Hkin, Hiso);
      return action == 2 ? state.stressT : state.tangentT;
    case 4:
      commit(state);
      return 0.0;
    default:
      core::warn("??? %s::hardening - wrong action received\n", state.module);
      return -1.0;
  }
}

}  // namespace morbane
