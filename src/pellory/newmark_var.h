// Newmark integration of a mass on a lead-rubber bearing (bilinear hysteretic spring) under one
// ground-acceleration component, with Newton iterations and automatic sub-step halving.
#pragma once

#include <cstdint>

#include "core/numerics/bearing_law.h"

namespace pellory {

// The bearing of one analysis: elastic stiffness k, characteristic strength Qd (the cap of the
// elastic-plastic component) and post-yield stiffness ratio alpha.
struct Bearing {
  double k, Qd, alpha;
};

// Force-law state of one analysis (see core::BearingState).
using BearingState = core::BearingState<1>;

// The bearing as the force law of the sub-stepping integrator; at rest to begin with. Bearing
// force and tangent at displacement x: a spring alpha·k in parallel with an elastic-perfectly-
// plastic spring (1 − alpha)·k capped at ±Qd. Yielding sets the trial plastic displacement; an
// elastic evaluation leaves it as it was.
struct ForceLaw : core::BearingLaw<1> {
  Bearing bearing;

  explicit ForceLaw(const Bearing& b) : BearingLaw(b.k), bearing(b) {}
  // The cache: at the start of a sub-step the predictor repeats the last accepted displacement,
  // so the force and tangent of that acceptance (taken before its commit) are reused. A NaN
  // displacement is evaluated.
  void evaluate(core::Components<1> x) {
    if (!(distanceFromLast(x) <= core::kSameDisplacement)) returnMapping(x[0]);
  }
  void returnMapping(double x);
};

// Newton stops below a correction work |du·R/2| of 1e-12 or after 8 corrections; an attempt that
// needed more than 6 is halved, down to 1e-8. A step without time (dt not positive, or NaN) makes
// no attempt and holds the committed state.
inline constexpr core::SubstepLimits kSubsteps{1e-12, 8, 6, 1e-8, core::StepWithoutTime::Held,
                                               "Pellory"};

// The mass m at rest on the bearing, as newmarkVar integrates it (arguments as there).
core::SubstepOscillator<ForceLaw> bearingMass(double m, double zeta, double k, double Qd,
                                              double alpha);

// Fills nTH samples of the relative displacement u, velocity v, acceleration a and bearing force
// fs of m·(ü + ag) + c·u̇ + fs(u) = 0, c = 2ζ√(mk), for ag sampled at dt (nAg samples, linear in
// between, zero after the record). Average-acceleration Newmark (β = 1/4, γ = 1/2 from the
// driver) in incremental form with the displacement as unknown; every step starts with dtSub = dt
// and an attempt whose Newton iterations need more than six corrections is retried at half the
// length. Units: any consistent set. Returns 0, or −1 with a console warning when a sub-step
// shorter than 1e-8 still does not converge.
std::int32_t newmarkVar(double* u, double* v, double* a, double* fs, const double* ag,
                        std::int32_t nAg, std::int32_t nTH, double dt, double m, double zeta,
                        double k, double Qd, double alpha, double beta, double gamma);

}  // namespace pellory
