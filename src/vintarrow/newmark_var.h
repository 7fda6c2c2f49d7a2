// Newmark integration of a mass on a lead-rubber bearing under two horizontal ground-acceleration
// components: coupled bilinear force law with a circular yield surface, one Newton iteration on
// the 2 × 2 system, automatic sub-step halving.
#pragma once

#include <cstdint>

namespace vintarrow {

// The bearing of one analysis: elastic stiffness k, characteristic strength Qd (radius of the
// circle that bounds the elastic-plastic force) and post-yield stiffness ratio alpha.
struct Bearing {
  double k, Qd, alpha;
};

// Force-law state of one analysis: the displacement pair of the last evaluation with its forces
// and 2 × 2 tangent (reused while the pair does not move), and the trial and committed plastic
// displacement pairs of the elastic-plastic component.
struct BearingState {
  double d1, d2;
  double F1, F2;
  double K11, K12, K21, K22;
  double p1T, p2T;
  double p1C, p2C;
};

// At rest: no plastic displacement, last evaluation at (0, 0) with the elastic tangent k·I.
BearingState restingBearing(double k);

// Forces and tangent at the displacement pair (x1, x2): a spring alpha·k in every direction in
// parallel with an elastic-plastic spring (1 − alpha)·k whose force vector is returned radially
// onto the circle of radius Qd when its trial value lies outside. Results are left in the state
// (F1, F2, K11 ... K22).
void bearingForce(BearingState& state, const Bearing& bearing, double x1, double x2);

// Viscous damping, mass and Newmark constants of one analysis.
struct Oscillator {
  double m, c;
  double beta, gamma;
  double c1, c2, c3;
};

Oscillator makeOscillator(double m, double zeta, double k, double beta, double gamma);

// Kinematic state of both components at the end of the last accepted sub-step.
struct Committed {
  double u1, u2, v1, v2, a1, a2;
};

// The working sample i + 1 of the eight histories.
struct Sample {
  double *u1, *u2, *v1, *v2, *a1, *a2, *fs1, *fs2;
};

// One sub-step attempt of length dtSub from the committed state, ending at the ground
// accelerations (agS1, agS2): predictor, then Newton corrections by the explicit inverse of the
// 2 × 2 effective matrix. Returns the iterations made (at most 8); they stop early once
// |R1·du1| + |R2·du2| is below 1e-12 or is not a number.
std::int32_t attemptSubStep(BearingState& state, const Bearing& bearing, const Oscillator& osc,
                            const Committed& from, double dtSub, double agS1, double agS2,
                            const Sample& out);

// Fills nTH samples of the displacements, relative velocities, relative accelerations and
// bearing forces of both components for m·(ü + ag) + c·u̇ + fs(u) = 0 (vectors in the plane),
// c = 2ζ√(mk), with ag1, ag2 sampled at dt (nAg samples each, linear in between, zero after).
// Returns 0, or −1 with a console warning when a sub-step shorter than 1e-8 does not converge.
std::int32_t newmarkVar(double* u1, double* u2, double* v1, double* v2, double* a1, double* a2,
                        double* fs1, double* fs2, const double* ag1, const double* ag2,
                        std::int32_t nAg, std::int32_t nTH, double dt, double m, double zeta,
                        double k, double Qd, double alpha, double beta, double gamma);

}  // namespace vintarrow
