// Two-component lead-rubber-bearing integrator: radial-return force law with a cache on the last
// displacement pair, coupled Newton iterations per sub-step, halving of unsettled sub-steps.
#include "vintarrow/newmark_var.h"

#include <cmath>

#include "core/runtime/console.h"
#include "core/numerics/magnitude.h"

namespace vintarrow {

namespace {

// Displacement pairs whose components moved by at most one machine epsilon in total (absolute)
// count as the same point.
constexpr double kSamePoint = 2.220446049250313e-16;
constexpr double kTolerance = 1e-12;        // on |R1·du1| + |R2·du2|
constexpr std::int32_t kMaxIterations = 8;  // iterations stop after the 8th ...
constexpr std::int32_t kLastAccepted = 6;   // ... but only an attempt settled by the 6th counts
constexpr double kSmallestHalvable = 1e-8;

// Ground acceleration of one component at time tNew within the interval from sample i, linear
// between samples and zero after the record.
double groundAt(const double* ag, std::int32_t nAg, std::int32_t i, double tNew, double dt) {
  const double p0 = i < nAg ? ag[i] : 0.0;
  const double p1 = i < nAg - 1 ? ag[i + 1] : 0.0;
  return p0 + ((p1 - p0) * tNew) / dt;
}

}  // namespace

BearingState restingBearing(double k) {
  return BearingState{0.0, 0.0, 0.0, 0.0, k, 0.0, 0.0, k, 0.0, 0.0, 0.0, 0.0};
}

void bearingForce(BearingState& s, const Bearing& bearing, double x1, double x2) {
  // The cache: the first iteration of a sub-step repeats the last accepted pair and reuses the
  // forces and tangent of that acceptance. A pair that is not a number is never re-evaluated.
  if (!(std::fabs(x1 - s.d1) + std::fabs(x2 - s.d2) > kSamePoint)) return;
  s.d1 = x1;
  s.d2 = x2;
  const double kh = (1.0 - bearing.alpha) * bearing.k;
  const double kd = bearing.alpha * bearing.k;
  const double f1 = (x1 - s.p1C) * kh;
  const double f2 = kh * (x2 - s.p2C);
  const double q = std::sqrt(f1 * f1 + f2 * f2);
  const double Qd = bearing.Qd;
  if (q - Qd > 0.0) {
    // Radial return onto the circle of radius Qd; the tangent is kd·I + (kh·Qd/q)·(I − n·nᵀ).
    const double delta = (q - Qd) / kh;
    s.p1T = (delta * f1) / q + s.p1C;
    s.p2T = (delta * f2) / q + s.p2C;
    s.F1 = (f1 * Qd) / q + x1 * kd;
    s.F2 = (Qd * f2) / q + kd * x2;
    const double A = kh * Qd;
    const double Q3 = core::power(q, 3.0);
    s.K11 = ((f2 * A) * f2) / Q3 + kd;
    s.K12 = -((f2 * (A * f1)) / Q3);
    s.K21 = s.K12;
    s.K22 = ((A * f1) * f1) / Q3 + kd;
  } else {
    // The trial plastic pair is deliberately kept (see the one-component bearing).
    s.F1 = x1 * kd + f1;
    s.F2 = kd * x2 + f2;
    s.K11 = bearing.k;
    s.K22 = bearing.k;
    s.K12 = 0.0;
    s.K21 = 0.0;
  }
}

Oscillator makeOscillator(double m, double zeta, double k, double beta, double gamma) {
  Oscillator osc;
  osc.m = m;
  osc.c = std::sqrt(m * k) * (zeta + zeta);
  osc.beta = beta;
  osc.gamma = gamma;
  osc.c1 = 1.0 - (gamma * 0.5) / beta;
  osc.c2 = 1.0 - gamma / beta;
  osc.c3 = 1.0 - 0.5 / beta;
  return osc;
}

std::int32_t attemptSubStep(BearingState& state, const Bearing& bearing, const Oscillator& osc,
                            const Committed& from, double dtSub, double agS1, double agS2,
                            const Sample& out) {
  const double a1f = osc.gamma / (dtSub * osc.beta);
  const double a0f = 1.0 / (dtSub * (dtSub * osc.beta));
  *out.u1 = from.u1;
  *out.u2 = from.u2;
  *out.v1 = (dtSub * osc.c1) * from.a1 + osc.c2 * from.v1;
  *out.v2 = (dtSub * osc.c1) * from.a2 + osc.c2 * from.v2;
  *out.a1 = from.v1 * (-1.0 / (dtSub * osc.beta)) + osc.c3 * from.a1;
  *out.a2 = from.v2 * (-1.0 / (dtSub * osc.beta)) + osc.c3 * from.a2;
  const double kBase = a1f * osc.c + a0f * osc.m;
  const double m = osc.m;
  const double c = osc.c;

  std::int32_t j = 0;
  double work = 0.0;
  do {
    bearingForce(state, bearing, *out.u1, *out.u2);
    *out.fs1 = state.F1;
    *out.fs2 = state.F2;
    const double R1 = (*out.v1 * c + (agS1 + *out.a1) * m) + state.F1;
    const double R2 = (c * *out.v2 + m * (*out.a2 + agS2)) + state.F2;
    const double E11 = state.K11 + kBase;
    const double E22 = kBase + state.K22;
    const double det = E22 * E11 - state.K12 * state.K21;
    const double du1 = -((E22 / det) * R1) - (-(state.K21 / det)) * R2;
    const double du2 = -(-(state.K12 / det) * R1) - (E11 / det) * R2;
    *out.u1 = du1 + *out.u1;
    *out.u2 = *out.u2 + du2;
    *out.v1 = du1 * a1f + *out.v1;
    *out.v2 = a1f * du2 + *out.v2;
    *out.a1 = du1 * a0f + *out.a1;
    *out.a2 = a0f * du2 + *out.a2;
    work = std::fabs(R2 * du2) + std::fabs(R1 * du1);
    ++j;
    // "Continue while at or above": a work that is not a number ends the loop.
  } while (work >= kTolerance && j < kMaxIterations);
  return j;
}

// Average-acceleration Newmark (β = 1/4, γ = 1/2 from the driver) for both components at once,
// displacement-based incremental form. Every step starts with dtSub = dt; an attempt whose Newton
// iterations need more than six corrections is retried from the committed state at half the
// length, which then stays for the rest of the step. Units: any consistent set.
std::int32_t newmarkVar(double* u1, double* u2, double* v1, double* v2, double* a1, double* a2,
                        double* fs1, double* fs2, const double* ag1, const double* ag2,
                        std::int32_t nAg, std::int32_t nTH, double dt, double m, double zeta,
                        double k, double Qd, double alpha, double beta, double gamma) {
  const Oscillator osc = makeOscillator(m, zeta, k, beta, gamma);
  const Bearing bearing{k, Qd, alpha};
  BearingState state = restingBearing(k);

  // An empty record is a record at rest.
  const double ag10 = nAg > 0 ? ag1[0] : 0.0;
  const double ag20 = nAg > 0 ? ag2[0] : 0.0;
  u1[0] = 0.0;
  u2[0] = 0.0;
  v1[0] = 0.0;
  v2[0] = 0.0;
  fs1[0] = 0.0;
  fs2[0] = 0.0;
  a1[0] = (-ag10 - v1[0] * (osc.c / m)) - fs1[0] / m;
  a2[0] = (-ag20 - (osc.c / m) * v2[0]) - fs2[0] / m;
  Committed committed{0.0, 0.0, 0.0, 0.0, a1[0], a2[0]};
  if (nTH - 1 < 1) return 0;

  for (std::int32_t i = 0; i < nTH - 1; ++i) {
    const std::int32_t n = i + 1;
    const Sample out{&u1[n], &u2[n], &v1[n], &v2[n], &a1[n], &a2[n], &fs1[n], &fs2[n]};
    // A step with no time to cover (dt not positive, or NaN) holds the committed state rather
    // than leaving samples of an earlier analysis in the histories.
    u1[n] = committed.u1;
    u2[n] = committed.u2;
    v1[n] = committed.v1;
    v2[n] = committed.v2;
    a1[n] = committed.a1;
    a2[n] = committed.a2;
    fs1[n] = fs1[i];
    fs2[n] = fs2[i];

    double dtSub = dt;
    double tSub = 0.0;
    while (tSub < dt) {
      const double tNew = dtSub + tSub;
      const double agS1 = groundAt(ag1, nAg, i, tNew, dt);
      const double agS2 = groundAt(ag2, nAg, i, tNew, dt);
      const std::int32_t j =
          attemptSubStep(state, bearing, osc, committed, dtSub, agS1, agS2, out);
      // A sub-step too short to move the clock could never end the step; it fails.
      const bool stalled = tNew == tSub;
      if (j <= kLastAccepted && !stalled) {
        bearingForce(state, bearing, u1[n], u2[n]);
        fs1[n] = state.F1;
        fs2[n] = state.F2;
        state.p1C = state.p1T;
        state.p2C = state.p2T;
        committed = Committed{u1[n], u2[n], v1[n], v2[n], a1[n], a2[n]};
        tSub = tNew;
      } else if (dtSub < kSmallestHalvable || stalled) {
        core::warn("??? Vintarrow::newmarkVar - failed to converge: dtSub = %f\n", dtSub);
        return -1;
      } else {
        dtSub = dtSub * 0.5;
      }
    }
  }
  return 0;
}

}  // namespace vintarrow
