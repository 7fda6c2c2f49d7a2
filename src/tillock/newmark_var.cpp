// Friction-pendulum force law and its Newmark integration with sub-stepping.
#include "tillock/newmark_var.h"

#include <cmath>

#include "core/runtime/console.h"

namespace tillock {

namespace {

constexpr double kDisplacementTolerance = 2.220446049250313e-16;  // double machine epsilon
constexpr double kTolerance = 1e-12;        // on the energy-like increment |du/2·r|
constexpr std::int32_t kMaxIteration = 7;   // iterations continue while j ≤ 7 ...
constexpr std::int32_t kLastAccepted = 6;   // ... but only j ≤ 6 accepts the sub-step
constexpr double kSmallestHalvable = 1e-8;

}  // namespace

// Newmark predictor at the committed displacement, then Newton corrections on the bearing
// tangent plus the dynamic stiffness. The stopping test uses the residual of the iteration and
// the correction made from it; a NaN residual ends the iteration after the first correction.
std::int32_t attemptSubStep(BearingState& state, const Bearing& bearing, const Oscillator& osc,
                            const Committed& c, double dtSub, double agSub, double* u,
                            double* v, double* a, double* fs) {
  const double b = dtSub * osc.beta;
  const double cv = osc.gamma / b;
  const double ca = 1.0 / (b * dtSub);
  *u = c.u;
  *v = (osc.f1 * dtSub) * c.a + osc.f2 * c.v;
  *a = (-1.0 / b) * c.v + osc.f3 * c.a;
  const double Kdyn = cv * osc.cd + ca * osc.m;

  std::int32_t j = 0;
  double r = 0.0;
  double du = 0.0;
  do {
    evaluateBearing(state, bearing, *u);
    *fs = state.frcT;
    r = ((agSub + *a) * osc.m + osc.cd * *v) + state.frcT;
    du = -(r / (Kdyn + state.stiffT));
    *u = *u + du;
    *v = *v + du * cv;
    *a = *a + du * ca;
    j = j + 1;
  } while (std::fabs((du * 0.5) * r) >= kTolerance && j <= kMaxIteration);
  return j;
}

BearingState initialBearingState(double k1) {
  BearingState state;
  state.stiffT = k1;
  return state;
}

Oscillator makeOscillator(double m, double cd, double beta, double gamma) {
  return Oscillator{m,
                    cd,
                    beta,
                    gamma,
                    1.0 - (gamma * 0.5) / beta,
                    1.0 - gamma / beta,
                    1.0 - 0.5 / beta};
}

// Return mapping of the friction element from the committed sliding displacement: the trial
// force (x − dspPlasticC)·(k1 − kp) is capped at the sliding force frn·W. The cache compares
// displacements with an absolute tolerance, so a NaN displacement keeps the stored values.
void evaluateBearing(BearingState& state, const Bearing& bearing, double x) {
  if (!(std::fabs(state.dspT - x) > kDisplacementTolerance)) return;
  state.dspT = x;
  const double ft = (x - state.dspPlasticC) * (bearing.k1 - bearing.kp);
  const double phi = std::fabs(ft) - bearing.W * bearing.frn;
  if (phi > 0.0) {
    const double s = ft < 0.0 ? -1.0 : 1.0;
    state.dspPlasticT = s * (phi / (bearing.k1 - bearing.kp)) + state.dspPlasticC;
    state.frcT = s * (bearing.W * bearing.frn) + bearing.kp * x;
    state.stiffT = bearing.kp;
  } else {
    state.frcT = ft + bearing.kp * x;
    state.stiffT = bearing.k1;
  }
}

std::int32_t newmarkVar(double* u, double* v, double* a, double* fs, const double* ag,
                        std::int32_t nAg, std::int32_t nTH, double dt, double m, double zeta,
                        double k1, double frn, double R, double beta, double gamma, double g) {
  const double cd = std::sqrt(m * k1) * (2.0 * zeta);
  const double W = g * m;
  const Bearing bearing{W, frn, k1, W / R};
  BearingState state = initialBearingState(k1);

  // An empty record is a record at rest.
  const double ag0 = nAg > 0 ? ag[0] : 0.0;
  u[0] = 0.0;
  v[0] = 0.0;
  fs[0] = 0.0;
  a[0] = (-ag0 - (cd / m) * v[0]) - 0.0 / m;
  if (nTH - 1 < 1) return 0;

  const Oscillator osc = makeOscillator(m, cd, beta, gamma);

  for (std::int32_t i = 0; i < nTH - 1; ++i) {
    const double p0 = i < nAg ? ag[i] : 0.0;
    const double p1 = i < nAg - 1 ? ag[i + 1] : 0.0;
    Committed committed{u[i], v[i], a[i]};
    double dtSub = dt;
    double t = 0.0;
    do {
      const double te = t + dtSub;
      const double agSub = ((p1 - p0) * te) / dt + p0;
      const std::int32_t j = attemptSubStep(state, bearing, osc, committed, dtSub, agSub,
                                            &u[i + 1], &v[i + 1], &a[i + 1], &fs[i + 1]);
      // A sub-step too small to move the time of the step on could never end it (only for
      // absurdly long steps): report it as a failure rather than loop for ever.
      const bool stalled = te == t && t < dt;
      if (j <= kLastAccepted && !stalled) {
        evaluateBearing(state, bearing, u[i + 1]);
        fs[i + 1] = state.frcT;
        committed = Committed{u[i + 1], v[i + 1], a[i + 1]};
        state.dspPlasticC = state.dspPlasticT;
        t = te;
      } else if (dtSub < kSmallestHalvable || stalled) {
        core::warn("??? Tillock::newmarkVar - failed to converge: dtSub = %f\n", dtSub);
        return -1;
      } else {
        dtSub = dtSub * 0.5;
      }
    } while (t < dt);
  }
  return 0;
}

}  // namespace tillock
