// Lead-rubber-bearing integrator: bilinear force law with a cache on the last displacement,
// Newton iterations per sub-step, halving of sub-steps that do not settle within six iterations.
#include "pellory/newmark_var.h"

#include <cmath>

#include "core/runtime/console.h"

namespace pellory {

namespace {

// Displacements closer than one machine epsilon (absolute) count as the same point.
constexpr double kSamePoint = 2.220446049250313e-16;
constexpr double kTolerance = 1e-12;        // on the work of a correction, |du·R/2|
constexpr std::int32_t kMaxIterations = 8;  // iterations stop after the 8th ...
constexpr std::int32_t kLastAccepted = 6;   // ... but only an attempt settled by the 6th counts
constexpr double kSmallestHalvable = 1e-8;

// Ground acceleration at time tNew within the interval from sample i, linear between samples and
// zero after the record (the last interval ramps down to zero).
double groundAt(const double* ag, std::int32_t nAg, std::int32_t i, double tNew, double dt) {
  const double p0 = i < nAg ? ag[i] : 0.0;
  const double p1 = i < nAg - 1 ? ag[i + 1] : 0.0;
  return ((p1 - p0) * tNew) / dt + p0;
}

}  // namespace

BearingState restingBearing(double k) { return BearingState{0.0, 0.0, 0.0, 0.0, k}; }

void bearingForce(BearingState& state, const Bearing& bearing, double x, double* force,
                  double* tangent) {
  // The cache: at the start of a sub-step the predictor repeats the last accepted displacement,
  // so the force and tangent of that acceptance (taken before its commit) are reused.
  if (std::fabs(state.dspT - x) <= kSamePoint) {
    *force = state.frcT;
    *tangent = state.stiffT;
    return;
  }
  state.dspT = x;
  const double kh = (1.0 - bearing.alpha) * bearing.k;
  const double fh = (x - state.dspPlasticC) * kh;
  const double d = std::fabs(fh) - bearing.Qd;
  double F, Kt;
  if (d > 0.0) {
    const double s = fh >= 0.0 ? 1.0 : -1.0;
    state.dspPlasticT = s * (d / kh) + state.dspPlasticC;
    F = (bearing.alpha * bearing.k) * x + s * bearing.Qd;
    Kt = bearing.alpha * bearing.k;
  } else {
    // dspPlasticT is deliberately kept: a yielding evaluation earlier in the same sub-step
    // decides what the next commit takes over.
    F = (bearing.alpha * bearing.k) * x + fh;
    Kt = bearing.k;
  }
  state.frcT = F;
  state.stiffT = Kt;
  *force = F;
  *tangent = Kt;
}

Oscillator makeOscillator(double m, double zeta, double k, double beta, double gamma) {
  Oscillator osc;
  osc.m = m;
  osc.c = (zeta + zeta) * std::sqrt(m * k);
  osc.beta = beta;
  osc.gamma = gamma;
  osc.c1 = 1.0 - (gamma * 0.5) / beta;
  osc.c2 = 1.0 - gamma / beta;
  osc.c3 = 1.0 - 0.5 / beta;
  return osc;
}

std::int32_t attemptSubStep(BearingState& state, const Bearing& bearing, const Oscillator& osc,
                            const Committed& from, double dtSub, double agS, double* u, double* v,
                            double* a, double* fs) {
  const double a1 = osc.gamma / (osc.beta * dtSub);
  const double a0 = 1.0 / ((osc.beta * dtSub) * dtSub);
  *u = from.u;
  *v = (dtSub * osc.c1) * from.a + osc.c2 * from.v;
  *a = osc.c3 * from.a + (-1.0 / (osc.beta * dtSub)) * from.v;
  const double kBase = a1 * osc.c + a0 * osc.m;

  std::int32_t j = 0;
  double work = 0.0;
  do {
    double F, Kt;
    bearingForce(state, bearing, *u, &F, &Kt);
    *fs = F;
    const double R = ((*a + agS) * osc.m + osc.c * *v) + F;
    const double du = -(R / (kBase + Kt));
    *u = du + *u;
    *v = a1 * du + *v;
    *a = a0 * du + *a;
    work = (du * 0.5) * R;
    ++j;
    // Written as "continue while at or above": a work that is not a number ends the loop.
  } while (std::fabs(work) >= kTolerance && j < kMaxIterations);
  return j;
}

// Average-acceleration Newmark (β = 1/4, γ = 1/2 from the driver: unconditionally stable for the
// linear part, second order) in incremental form with the displacement as unknown. Every step
// starts with dtSub = dt; an attempt whose Newton iterations need more than six corrections is
// retried from the committed state at half the length, which then stays for the rest of the
// step. Units: any consistent set (force = mass·acceleration, k in force/length).
std::int32_t newmarkVar(double* u, double* v, double* a, double* fs, const double* ag,
                        std::int32_t nAg, std::int32_t nTH, double dt, double m, double zeta,
                        double k, double Qd, double alpha, double beta, double gamma) {
  const Oscillator osc = makeOscillator(m, zeta, k, beta, gamma);
  const Bearing bearing{k, Qd, alpha};
  BearingState state = restingBearing(k);

  // An empty record is a record at rest.
  const double ag0 = nAg > 0 ? ag[0] : 0.0;
  u[0] = 0.0;
  v[0] = 0.0;
  fs[0] = 0.0;
  a[0] = (-ag0 - (osc.c / m) * v[0]) - fs[0] / m;
  Committed committed{0.0, 0.0, a[0]};
  if (nTH <= 1) return 0;

  for (std::int32_t i = 0; i < nTH - 1; ++i) {
    // A step with no time to cover (dt not positive, or NaN) makes no attempt: it holds the
    // committed state rather than leaving samples of an earlier analysis in the histories.
    u[i + 1] = committed.u;
    v[i + 1] = committed.v;
    a[i + 1] = committed.a;
    fs[i + 1] = fs[i];

    double dtSub = dt;
    double tSub = 0.0;
    while (tSub < dt) {
      const double tNew = tSub + dtSub;
      const double agS = groundAt(ag, nAg, i, tNew, dt);
      const std::int32_t j = attemptSubStep(state, bearing, osc, committed, dtSub, agS, &u[i + 1],
                                            &v[i + 1], &a[i + 1], &fs[i + 1]);
      // A sub-step too short to move the clock could never end the step (only for absurd
      // ratios of dt to the sub-step); it fails like a sub-step that does not converge.
      const bool stalled = tNew == tSub;
      if (j <= kLastAccepted && !stalled) {
        double F, Kt;
        bearingForce(state, bearing, u[i + 1], &F, &Kt);
        fs[i + 1] = F;
        state.dspPlasticC = state.dspPlasticT;
        committed = Committed{u[i + 1], v[i + 1], a[i + 1]};
        tSub = tNew;
      } else if (dtSub < kSmallestHalvable || stalled) {
        core::warn("??? Pellory::newmarkVar - failed to converge: dtSub = %f\n", dtSub);
        return -1;
      } else {
        dtSub = dtSub * 0.5;
      }
    }
  }
  return 0;
}

}  // namespace pellory
