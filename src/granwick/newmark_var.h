// Newmark integration of a mass on a friction-pendulum isolator under two horizontal ground
// components, with friction coupled in the plane.
#pragma once

#include <cstdint>

#include "core/numerics/bearing_law.h"

namespace granwick {

// The isolator of one analysis.
struct Bearing {
  double k1;   // initial stiffness, friction element plus pendulum
  double W;    // weight carried
  double frn;  // friction coefficient
  double R;    // pendulum radius
};

// Force-law state of one analysis (see core::BearingState).
using BearingState = core::BearingState<2>;

// The isolator as the force law of the sub-stepping integrator, at rest and sticking to begin
// with (tangent k1·I). At the displacement (x1, x2) the pendulum stiffness kp = W/R acts on each
// component, and the friction element of stiffness ke = k1 − kp carries the trial force
// ke·(x − sC), returned onto the circle of radius W·frn when its resultant q exceeds it (radial
// return: the bearing slides along the trial force). The sliding tangent
// kp·I + (W·frn·ke/q³)·[f2² −f1·f2; −f1·f2 f1²] loses stiffness only across the sliding
// direction.
struct ForceLaw : core::BearingLaw<2> {
  Bearing bearing;

  explicit ForceLaw(const Bearing& b) : BearingLaw(b.k1), bearing(b) {}
  void evaluate(core::Components<2> x);  // from the cache within kSameDisplacement
  void returnMapping(core::Components<2> x);
};

// Newton stops below a correction work |du1·r1| + |du2·r2| of 1e-12 or after 8 corrections; an
// attempt that needed more than 6 is halved, down to 1e-8. A step without time is attempted once.
inline constexpr core::SubstepLimits kSubsteps{1e-12, 8, 6, 1e-8,
                                               core::StepWithoutTime::Attempted, "Granwick"};

// The mass m at rest on the isolator, as newmarkVar integrates it (arguments as there).
core::SubstepOscillator<ForceLaw> isolatedMass(double m, double zeta, double k1, double frn,
                                               double R, double g);

// Fills samples 0 .. nTH − 1 of the displacements u1, u2, velocities vel1, vel2, relative
// accelerations a1, a2 and isolator forces fs1, fs2 of the mass m shaken by ag1 and ag2 (nAg
// samples each, ground at rest afterwards). The isolator is a pendulum of radius R (stiffness
// kp = W/R in every direction, W = g·m) in parallel with a friction element of initial stiffness
// k1 − kp whose force is bounded by a circle of radius frn·W. Returns 0, or −1 with a console
// warning when a sub-step below 1e-8 still fails to converge.
std::int32_t newmarkVar(double* u1, double* u2, double* vel1, double* vel2, double* a1, double* a2,
                        double* fs1, double* fs2, const double* ag1, const double* ag2,
                        std::int32_t nAg, std::int32_t nTH, double dt, double m, double zeta,
                        double k1, double frn, double R, double beta, double gamma, double g);

}  // namespace granwick
