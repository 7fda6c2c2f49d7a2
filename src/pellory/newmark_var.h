// Newmark integration of a mass on a lead-rubber bearing (bilinear hysteretic spring) under one
// ground-acceleration component, with Newton iterations and automatic sub-step halving.
#pragma once

#include <cstdint>

namespace pellory {

// The bearing of one analysis: elastic stiffness k, characteristic strength Qd (the cap of the
// elastic-plastic component) and post-yield stiffness ratio alpha.
struct Bearing {
  double k, Qd, alpha;
};

// Force-law state of one analysis: committed and trial plastic displacement of the
// elastic-plastic component, and the last evaluation (displacement, force, tangent), which is
// reused when the bearing is asked again at (almost) the same displacement.
struct BearingState {
  double dspPlasticC, dspPlasticT;
  double dspT, frcT, stiffT;
};

// The state at the start of an analysis: no plastic displacement, last evaluation at rest with
// the elastic tangent k.
BearingState restingBearing(double k);

// Bearing force and tangent at displacement x: a spring alpha·k in parallel with an
// elastic-perfectly-plastic spring (1 − alpha)·k capped at ±Qd. Yielding sets the trial plastic
// displacement; an elastic evaluation leaves it as it was.
void bearingForce(BearingState& state, const Bearing& bearing, double x, double* force,
                  double* tangent);

// The oscillator and the Newmark constants of one analysis.
struct Oscillator {
  double m, c;            // mass and viscous damping coefficient
  double beta, gamma;     // Newmark parameters
  double c1, c2, c3;      // predictor coefficients from beta and gamma
};

Oscillator makeOscillator(double m, double zeta, double k, double beta, double gamma);

// Kinematic state at the end of the last accepted sub-step.
struct Committed {
  double u, v, a;
};

// One sub-step attempt of length dtSub from the committed state, ending at ground acceleration
// agS: Newmark predictor, then Newton corrections written into *u, *v, *a, *fs. Returns the
// number of iterations made (at most 8); the iterations stop early once the work of the
// correction, |du·R/2|, is below 1e-12 or is not a number.
std::int32_t attemptSubStep(BearingState& state, const Bearing& bearing, const Oscillator& osc,
                            const Committed& from, double dtSub, double agS, double* u, double* v,
                            double* a, double* fs);

// Fills nTH samples of the relative displacement u, velocity v, acceleration a and bearing force
// fs of m·(ü + ag) + c·u̇ + fs(u) = 0, c = 2ζ√(mk), for ag sampled at dt (nAg samples, linear in
// between, zero after the record). Returns 0, or −1 with a console warning when a sub-step shorter
// than 1e-8 still does not converge.
std::int32_t newmarkVar(double* u, double* v, double* a, double* fs, const double* ag,
                        std::int32_t nAg, std::int32_t nTH, double dt, double m, double zeta,
                        double k, double Qd, double alpha, double beta, double gamma);

}  // namespace pellory
