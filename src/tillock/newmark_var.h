// Newmark integration of a mass on a friction-pendulum isolator, with its bearing force law.
#pragma once

#include <cstdint>

namespace tillock {

// Force-law state of one analysis: the last evaluation (a cache keyed on the displacement) and
// the trial and committed sliding displacement of the friction element.
struct BearingState {
  double dspT = 0.0;         // displacement of the last evaluation
  double frcT = 0.0;         // isolator force there
  double stiffT = 0.0;       // tangent stiffness there
  double dspPlasticT = 0.0;  // trial sliding displacement, written only while sliding
  double dspPlasticC = 0.0;  // sliding displacement at the last accepted sub-step
};

// The bearing: weight W carried, friction coefficient, pre-sliding stiffness k1 and pendulum
// stiffness kp = W/R.
struct Bearing {
  double W, frn, k1, kp;
};

// State at the start of an analysis: at rest, sticking.
BearingState initialBearingState(double k1);

// What one analysis keeps fixed besides the bearing: mass, viscous damping constant, Newmark's
// β and γ and the three predictor factors formed from them once per analysis.
struct Oscillator {
  double m, cd, beta, gamma;
  double f1, f2, f3;
};

Oscillator makeOscillator(double m, double cd, double beta, double gamma);

// The end state of a sub-step or step.
struct Committed {
  double u, v, a;
};

// Bilinear isolator force at displacement x: an elastic-perfectly-plastic friction element
// (stiffness k1 − kp, sliding force frn·W) in parallel with the pendulum stiffness kp. Updates
// frcT and stiffT unless x lies within machine epsilon of the last evaluated displacement.
void evaluateBearing(BearingState& state, const Bearing& bearing, double x);

// One sub-step attempt of size dtSub from the committed state, ending at the ground acceleration
// agSub, computed in the working slot (*u, *v, *a, *fs). Returns the number of Newton corrections
// made (at most 8); the attempt counts as converged only with 6 or fewer.
std::int32_t attemptSubStep(BearingState& state, const Bearing& bearing, const Oscillator& osc,
                            const Committed& committed, double dtSub, double agSub, double* u,
                            double* v, double* a, double* fs);

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
