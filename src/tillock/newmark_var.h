// Newmark integration of a mass on a friction-pendulum isolator, with its bearing force law.
#pragma once

#include <cstdint>

#include "core/numerics/bearing_law.h"

namespace tillock {

// The bearing: weight W carried, friction coefficient, pre-sliding stiffness k1 and pendulum
// stiffness kp = W/R.
struct Bearing {
  double W, frn, k1, kp;
};

// Force-law state of one analysis (see core::BearingState).
using BearingState = core::BearingState<1>;

// The bearing as the force law of the sub-stepping integrator, at rest and sticking to begin
// with. Bilinear isolator force at displacement x: an elastic-perfectly-plastic friction element
// (stiffness k1 − kp, sliding force frn·W) in parallel with the pendulum stiffness kp.
struct ForceLaw : core::BearingLaw<1> {
  Bearing bearing;

  explicit ForceLaw(const Bearing& b) : BearingLaw(b.k1), bearing(b) {}
  // Updates the state unless x lies within kSameDisplacement of the last evaluated displacement;
  // a NaN displacement keeps the stored values.
  void evaluate(core::Components<1> x) {
    if (distanceFromLast(x) > core::kSameDisplacement) returnMapping(x[0]);
  }
  void returnMapping(double x);
};

// Newton stops below a correction work |du·r/2| of 1e-12 or after 8 corrections; an attempt that
// needed more than 6 is halved, down to 1e-8. A step without time is attempted once.
inline constexpr core::SubstepLimits kSubsteps{1e-12, 8, 6, 1e-8,
                                               core::StepWithoutTime::Attempted, "Tillock"};

// The mass m at rest on the isolator, as newmarkVar integrates it (arguments as there).
core::SubstepOscillator<ForceLaw> isolatedMass(double m, double zeta, double k1, double frn,
                                               double R, double g);

// Fills u, v, a, fs (nTH samples) for m·ü + cd·u̇ + fs(u) = −m·ag(t), cd = 2ζ√(m·k1), where fs
// is the isolator force of a pendulum of radius R under the weight W = g·m. Newmark's β and γ
// (average acceleration for 1/4, 1/2: unconditionally stable, second order), Newton iteration per
// sub-step, sub-step halved where the iteration does not settle within six corrections; ag linear
// within a step and zero after the record. Consistent units throughout (e.g. in, s, in/s²).
// Returns 0, or −1 with a console warning when no sub-step converges.
std::int32_t newmarkVar(double* u, double* v, double* a, double* fs, const double* ag,
                        std::int32_t nAg, std::int32_t nTH, double dt, double m, double zeta,
                        double k1, double frn, double R, double beta, double gamma, double g);

}  // namespace tillock
