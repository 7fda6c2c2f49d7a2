// Bidirectional friction-pendulum integrator: Newmark time stepping with one Newton iteration on
// both displacement components and sub-step halving, over a coupled (circular) friction law.
#include "granwick/newmark_var.h"

#include <cmath>

#include "core/runtime/console.h"
#include "core/numerics/magnitude.h"

namespace granwick {

namespace {

// A displacement change at or below one machine epsilon (absolute, summed over both components)
// reuses the last force and tangent instead of evaluating the law again. The cache keys on the
// displacement only: the first Newton iteration of a sub-step starts where the last evaluation
// was, and keeps its force and tangent even though the sliding displacement was committed since.
constexpr double kDisplacementChange = 2.220446049250313e-16;
// Newton stops when the work of the correction, |du1·r1| + |du2·r2|, falls below this.
constexpr double kTolerance = 1e-12;
// Iterations continue while the counter is at most 7 (8 in all); a sub-step is accepted only when
// it converged within 6, so that slow convergence also halves the sub-step.
constexpr int kLastIteration = 7;
constexpr int kLastAcceptedIteration = 6;
// A rejected sub-step smaller than this is a failure instead of being halved again.
constexpr double kSmallestHalvedSubStep = 1e-8;

// The isolator of one analysis.
struct Bearing {
  double k1;   // initial stiffness, friction element plus pendulum
  double W;    // weight carried
  double frn;  // friction coefficient
  double R;    // pendulum radius
};

// State carried from one evaluation of the force law to the next within one analysis: the
// displacement of the last evaluation with its force pair and 2 × 2 tangent, and the sliding
// displacement of the friction element as a trial value and as committed at the last accepted
// sub-step.
struct BearingState {
  double dspT[2];
  double frcT[2];
  double stiffT[2][2];
  double dspPlasticT[2];
  double dspPlasticC[2];
};

BearingState initialState(double k1) {
  BearingState s = {};
  s.stiffT[0][0] = k1;
  s.stiffT[1][1] = k1;
  return s;
}

/* Force law of the bidirectional friction pendulum at the displacement (x1, x2): the pendulum
   stiffness kp = W/R acts on each component, and the friction element of stiffness ke = k1 − kp
   carries the trial force ke·(x − sC), returned onto the circle of radius W·frn when its resultant
   q exceeds it (radial return: the bearing slides along the trial force). The sliding tangent
   kp·I + (W·frn·ke/q³)·[f2² −f1·f2; −f1·f2 f1²] loses stiffness only across the sliding
   direction. Forces in the units of W, displacements in those of x. */
void evaluateForceLaw(BearingState& s, const Bearing& b, double x1, double x2) {
  if (!(std::fabs(x1 - s.dspT[0]) + std::fabs(x2 - s.dspT[1]) > kDisplacementChange)) return;
  s.dspT[0] = x1;
  s.dspT[1] = x2;
  const double kp = b.W / b.R;
  const double ke = b.k1 - kp;
  const double f1 = (x1 - s.dspPlasticC[0]) * ke;
  const double f2 = (x2 - s.dspPlasticC[1]) * ke;
  const double q = std::sqrt(f1 * f1 + f2 * f2);
  const double phi = q - b.W * b.frn;
  if (phi > 0.0) {
    const double lambda = phi / ke;
    s.dspPlasticT[0] = (lambda * f1) / q + s.dspPlasticC[0];
    s.dspPlasticT[1] = (lambda * f2) / q + s.dspPlasticC[1];
    s.frcT[0] = x1 * kp + (f1 * (b.W * b.frn)) / q;
    s.frcT[1] = kp * x2 + (f2 * (b.W * b.frn)) / q;
    const double A = (b.W * b.frn) * ke;
    const double Q3 = core::power(q, 3.0);
    s.stiffT[0][0] = ((f2 * A) * f2) / Q3 + kp;
    s.stiffT[0][1] = -((f2 * (f1 * A)) / Q3);
    s.stiffT[1][0] = s.stiffT[0][1];
    s.stiffT[1][1] = kp + (f1 * (f1 * A)) / Q3;
  } else {
    s.frcT[0] = x1 * kp + f1;
    s.frcT[1] = kp * x2 + f2;
    s.stiffT[0][0] = b.k1;
    s.stiffT[0][1] = 0.0;
    s.stiffT[1][0] = 0.0;
    s.stiffT[1][1] = b.k1;
  }
}

// The eight histories of one analysis.
struct Histories {
  double* u1;
  double* u2;
  double* vel1;
  double* vel2;
  double* a1;
  double* a2;
  double* fs1;
  double* fs2;
};

// Displacements, velocities and accelerations of both components at the end of the last
// accepted sub-step.
struct Committed {
  double u1, u2, v1, v2, a1, a2;
};

// What every sub-step of the analysis shares: the mass, the viscous damping constant, Newmark's
// β and γ, and the three predictor factors formed once from them.
struct Scheme {
  double m, cd, beta, gamma;
  double velFromAcc, velFromVel, accFromAcc;
};

// Ground accelerations at the start (p0) and end (p1) of the step from sample i: the record,
// then ground at rest.
inline double startValue(const double* ag, std::int32_t nAg, std::int32_t i) {
  return i < nAg ? ag[i] : 0.0;
}
inline double endValue(const double* ag, std::int32_t nAg, std::int32_t i) {
  return i < nAg - 1 ? ag[i + 1] : 0.0;
}

// Newmark predictor for sample n over a sub-step of dtSub (b = dtSub·β): displacement held at
// its committed value, velocity and acceleration from the Newmark relations.
void predict(const Histories& h, std::int32_t n, const Committed& c, const Scheme& s, double dtSub,
             double b) {
  h.u1[n] = c.u1;
  h.u2[n] = c.u2;
  h.vel1[n] = (s.velFromAcc * dtSub) * c.a1 + s.velFromVel * c.v1;
  h.vel2[n] = (s.velFromAcc * dtSub) * c.a2 + s.velFromVel * c.v2;
  h.a1[n] = (-1.0 / b) * c.v1 + s.accFromAcc * c.a1;
  h.a2[n] = (-1.0 / b) * c.v2 + s.accFromAcc * c.a2;
}

// Newton iteration on the displacement pair of sample n, with the 2 × 2 system solved by its
// explicit inverse. cv and ca turn a displacement correction into velocity and acceleration
// corrections. Returns the number of iterations made; it stops once the correction work
// |du1·r1| + |du2·r2| is below the tolerance or after the last allowed iteration.
int iterate(BearingState& state, const Bearing& bearing, const Histories& h, std::int32_t n,
            const Scheme& s, double cv, double ca, double agSub1, double agSub2) {
  const double Kdyn = ca * s.m + cv * s.cd;
  int j = 0;
  double du1 = 0.0, du2 = 0.0, r1 = 0.0, r2 = 0.0;
  do {
    evaluateForceLaw(state, bearing, h.u1[n], h.u2[n]);
    h.fs1[n] = state.frcT[0];
    h.fs2[n] = state.frcT[1];
    r1 = ((agSub1 + h.a1[n]) * s.m + h.vel1[n] * s.cd) + state.frcT[0];
    r2 = ((h.a2[n] + agSub2) * s.m + h.vel2[n] * s.cd) + state.frcT[1];
    const double K11 = state.stiffT[0][0] + Kdyn;
    const double K22 = Kdyn + state.stiffT[1][1];
    const double K12 = state.stiffT[0][1];
    const double K21 = state.stiffT[1][0];
    const double det = K22 * K11 - K12 * K21;
    du1 = -((K22 / det) * r1) - (-(K21 / det)) * r2;
    du2 = -(-(K12 / det) * r1) - (K11 / det) * r2;
    h.u1[n] = h.u1[n] + du1;
    h.u2[n] = h.u2[n] + du2;
    h.vel1[n] = h.vel1[n] + du1 * cv;
    h.vel2[n] = h.vel2[n] + du2 * cv;
    h.a1[n] = h.a1[n] + du1 * ca;
    h.a2[n] = h.a2[n] + du2 * ca;
    ++j;
  } while (std::fabs(du1 * r1) + std::fabs(du2 * r2) >= kTolerance && j <= kLastIteration);
  return j;
}

// The step from sample i to sample n = i + 1, covered by sub-steps that start at dt and halve on
// every rejection; the halved size holds for the rest of the step. t, the time covered so far, is
// a running sum compared with dt without snapping. Returns 0, or −1 with the warning when a
// sub-step below the smallest halvable size is rejected.
std::int32_t integrateStep(BearingState& state, const Bearing& bearing, const Histories& h,
                           std::int32_t i, const Scheme& s, const double* ag1, const double* ag2,
                           std::int32_t nAg, double dt) {
  const std::int32_t n = i + 1;
  const double p01 = startValue(ag1, nAg, i), p11 = endValue(ag1, nAg, i);
  const double p02 = startValue(ag2, nAg, i), p12 = endValue(ag2, nAg, i);
  Committed c = {h.u1[i], h.u2[i], h.vel1[i], h.vel2[i], h.a1[i], h.a2[i]};
  double dtSub = dt;
  double t = 0.0;
  do {
    const double b = dtSub * s.beta;
    const double cv = s.gamma / b;
    const double ca = 1.0 / (b * dtSub);
    predict(h, n, c, s, dtSub, b);
    const double te = t + dtSub;
    const double agSub1 = ((p11 - p01) * te) / dt + p01;
    const double agSub2 = ((p12 - p02) * te) / dt + p02;
    if (iterate(state, bearing, h, n, s, cv, ca, agSub1, agSub2) <= kLastAcceptedIteration) {
      evaluateForceLaw(state, bearing, h.u1[n], h.u2[n]);
      h.fs1[n] = state.frcT[0];
      h.fs2[n] = state.frcT[1];
      c = {h.u1[n], h.u2[n], h.vel1[n], h.vel2[n], h.a1[n], h.a2[n]};
      state.dspPlasticC[0] = state.dspPlasticT[0];
      state.dspPlasticC[1] = state.dspPlasticT[1];
      t = te;
    } else {
      if (dtSub < kSmallestHalvedSubStep) {
        core::warn("??? Granwick::newmarkVar - failed to converge: dtSub = %f\n", dtSub);
        return -1;
      }
      dtSub = dtSub * 0.5;
    }
  } while (t < dt);
  return 0;
}

}  // namespace

/* Integrates m·ü + cd·u̇ + fs(u) = −m·ag(t) for both horizontal components by Newmark's method
   (β = 1/4, γ = 1/2 from the driver: average acceleration, unconditionally stable for the linear
   part) with a common Newton iteration on the displacement pair. Each step of dt is covered by
   sub-steps that halve whenever Newton does not converge within six iterations. The ground
   acceleration is interpolated linearly across the step, so every sub-step sees the record at its
   own end time. Sample i + 1 holds the state at the end of the whole step. The force-law state
   belongs to this call, so concurrent analyses do not interfere. */
std::int32_t newmarkVar(double* u1, double* u2, double* vel1, double* vel2, double* a1, double* a2,
                        double* fs1, double* fs2, const double* ag1, const double* ag2,
                        std::int32_t nAg, std::int32_t nTH, double dt, double m, double zeta,
                        double k1, double frn, double R, double beta, double gamma, double g) {
  const double cd = std::sqrt(m * k1) * (zeta + zeta);
  const Bearing bearing = {k1, g * m, frn, R};
  BearingState state = initialState(k1);
  const Histories h = {u1, u2, vel1, vel2, a1, a2, fs1, fs2};

  h.u1[0] = 0.0;
  h.u2[0] = 0.0;
  h.vel1[0] = 0.0;
  h.vel2[0] = 0.0;
  h.fs1[0] = 0.0;
  h.fs2[0] = 0.0;
  h.a1[0] = (-ag1[0] - h.vel1[0] * (cd / m)) - h.fs1[0] / m;
  h.a2[0] = (-ag2[0] - h.vel2[0] * (cd / m)) - h.fs2[0] / m;
  if (nTH - 1 < 1) return 0;

  const Scheme scheme = {
      m, cd, beta, gamma, 1.0 - (gamma * 0.5) / beta, 1.0 - gamma / beta, 1.0 - 0.5 / beta};
  for (std::int32_t i = 0; i < nTH - 1; ++i)
    if (integrateStep(state, bearing, h, i, scheme, ag1, ag2, nAg, dt) != 0) return -1;
  return 0;
}

}  // namespace granwick
