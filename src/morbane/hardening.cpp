// Return-mapping evaluation of the hardening material, with a strain cache and a trial/commit
// split of the internal variables.
#include "morbane/hardening.h"

#include <cmath>

#include "core/runtime/console.h"

namespace morbane {

// Closest-point return from the committed state: an elastic predictor, then, if the relative
// stress lies outside the (shifted, expanded) yield surface, a single linear plastic correction,
// which is exact for linear hardening. Trial internal variables are written only when plastic,
// so a later commit keeps those of the last plastic evaluation.
void returnMapHardening(HardeningState& state, double strain, const HardeningModuli& h) {
  const double E = h.E;
  state.strainT = strain;
  state.stressT = (strain - state.strainPlasticC) * E;
  const double xi = state.stressT - state.stressBackC;
  const double f = std::fabs(xi) - (state.hardeningC * h.Hiso + h.fy);
  if (f <= 0.0) {
    state.tangentT = E;
    return;
  }
  // Reached also when f is NaN.
  const double dGamma = f / ((E + h.Hkin) + h.Hiso);
  const double s = xi < 0.0 ? -1.0 : 1.0;
  state.stressT = state.stressT - (E * dGamma) * s;
  state.strainPlasticT = s * dGamma + state.strainPlasticC;
  state.hardeningT = dGamma + state.hardeningC;
  state.stressBackT = s * (h.Hkin * dGamma) + state.stressBackC;
  state.tangentT = E * (h.Hiso + h.Hkin) / ((E + h.Hkin) + h.Hiso);
}

void initialiseHardening(HardeningState& state, double E) {
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

void commitHardening(HardeningState& state) {
  state.strainPlasticC = state.strainPlasticT;
  state.stressBackC = state.stressBackT;
  state.hardeningC = state.hardeningT;
}

double hardening(HardeningState& state, HardeningAction action, double strain, double E, double fy,
                 double Hkin, double Hiso) {
  switch (action) {
    case HardeningAction::Initialise:
      initialiseHardening(state, E);
      return 0.0;
    case HardeningAction::Stress:
      evaluateHardening(state, strain, {E, fy, Hkin, Hiso});
      return state.stressT;
    case HardeningAction::Tangent:
      evaluateHardening(state, strain, {E, fy, Hkin, Hiso});
      return state.tangentT;
    case HardeningAction::Commit:
      commitHardening(state);
      return 0.0;
  }
  core::warn("??? %s::hardening - wrong action received\n", state.module);
  return -1.0;
}

}  // namespace morbane
