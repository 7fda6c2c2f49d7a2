// Newmark integration of a mass on a lead-rubber bearing under two horizontal ground-acceleration
// components: coupled bilinear force law with a circular yield surface, one Newton iteration on
// the 2 × 2 system, automatic sub-step halving.
#pragma once

#include <cstdint>

#include "core/numerics/bearing_law.h"

namespace vintarrow {

// The bearing of one analysis: elastic stiffness k, characteristic strength Qd (radius of the
// circle that bounds the elastic-plastic force) and post-yield stiffness ratio alpha.
struct Bearing {
  double k, Qd, alpha;
};

// Force-law state of one analysis (see core::BearingState).
using BearingState = core::BearingState<2>;

// The bearing as the force law of the sub-stepping integrator; at rest to begin with (no plastic
// displacement, last evaluation at (0, 0) with the elastic tangent k·I). Forces and tangent at the
// displacement pair (x1, x2): a spring alpha·k in every direction in parallel with an
// elastic-plastic spring (1 − alpha)·k whose force vector is returned radially onto the circle of
// radius Qd when its trial value lies outside.
struct ForceLaw : core::BearingLaw<2> {
  Bearing bearing;

  explicit ForceLaw(const Bearing& b) : BearingLaw(b.k), bearing(b) {}
  void evaluate(core::Components<2> x);  // from the cache within kSameDisplacement
  void returnMapping(core::Components<2> x);
};

// Newton stops below a correction work |R1·du1| + |R2·du2| of 1e-12 or after 8 corrections; an
// attempt that needed more than 6 is halved, down to 1e-8. A step without time (dt not positive,
// or NaN) makes no attempt and holds the committed state.
inline constexpr core::SubstepLimits kSubsteps{1e-12, 8, 6, 1e-8, core::StepWithoutTime::Held,
                                               "Vintarrow"};

// The mass m at rest on the bearing, as newmarkVar integrates it (arguments as there).
core::SubstepOscillator<ForceLaw> bearingMass(double m, double zeta, double k, double Qd,
                                              double alpha);

// Fills nTH samples of the displacements, relative velocities, relative accelerations and
// bearing forces of both components for m·(ü + ag) + c·u̇ + fs(u) = 0 (vectors in the plane),
// c = 2ζ√(mk), with ag1, ag2 sampled at dt (nAg samples each, linear in between, zero after).
// Average-acceleration Newmark (β = 1/4, γ = 1/2 from the driver) for both components at once;
// every step starts with dtSub = dt and an attempt whose Newton iterations need more than six
// corrections is retried at half the length. Units: any consistent set. Returns 0, or −1 with a
// console warning when a sub-step shorter than 1e-8 does not converge.
std::int32_t newmarkVar(double* u1, double* u2, double* v1, double* v2, double* a1, double* a2,
                        double* fs1, double* fs2, const double* ag1, const double* ag2,
                        std::int32_t nAg, std::int32_t nTH, double dt, double m, double zeta,
                        double k, double Qd, double alpha, double beta, double gamma);

}  // namespace vintarrow
