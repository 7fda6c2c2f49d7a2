// Newmark integration of the hardening oscillator: Newton iteration per sub-step, and halving of
// the sub-step where the iteration does not settle.
#include "morbane/newmark_var.h"

#include <cmath>

#include "morbane/hardening.h"
#include "core/runtime/console.h"

namespace morbane {

namespace {

constexpr double kTolerance = 1e-10;        // on the energy-like increment |r·du/2|
constexpr std::int32_t kMaxIteration = 25;  // iterations continue while j ≤ 25 ...
constexpr std::int32_t kLastAccepted = 24;  // ... but only j ≤ 24 accepts the attempt
constexpr double kSmallestHalvable = 1e-10;

// What one analysis keeps fixed: the oscillator and its material moduli.
struct Oscillator {
  double m, cd, k, fy, Hkin, Hiso;
};

// Committed state of the oscillator: the end of the last accepted sub-step.
struct Committed {
  double u, v, a;
};

// One sub-step attempt of size dtSub ending at the ground acceleration agSub, computed in the
// working slot (*u, *v, *a, *fs). Newmark predictor at the committed displacement, then Newton
// corrections on the tangent of the material plus the dynamic stiffness. Returns the number of
// corrections made; a NaN residual stops the iteration after the first.
std::int32_t attemptSubStep(HardeningState& material, const Oscillator& osc, const Committed& c,
                            double dtSub, double agSub, double beta, double gamma, double c1,
                            double c2, double c3, double* u, double* v, double* a, double* fs) {
  const double b = beta * dtSub;
  const double cv = gamma / b;
  const double ca = 1.0 / (dtSub * b);
  *u = c.u;
  *v = c.v * c1 + (dtSub * c2) * c.a;
  *a = (-1.0 / b) * c.v + c3 * c.a;
  const double Kdyn = osc.m * ca + osc.cd * cv;

  std::int32_t j = 0;
  double r = 0.0;
  double du = 0.0;
  do {
    const double fsT = hardening(material, 2, *u, osc.k, osc.fy, osc.Hkin, osc.Hiso);
    *fs = fsT;
    r = ((agSub + *a) * osc.m + osc.cd * *v) + fsT;
    const double kT = hardening(material, 3, *u, osc.k, osc.fy, osc.Hkin, osc.Hiso);
    du = (-r) / (kT + Kdyn);
    *u = du + *u;
    *v = cv * du + *v;
    *a = ca * du + *a;
    j = j + 1;
  } while (std::fabs(r * (du * 0.5)) >= kTolerance && j <= kMaxIteration);
  return j;
}

}  // namespace

// Integrates m·ü + cd·u̇ + fs(u) = −m·ag(t), cd = 2ζ√(mk), with Newmark's β and γ (average
// acceleration for 1/4, 1/2) and the hardening material for fs (E = k, σy = fy, Hkin = k·kin,
// Hiso = k·iso). Each step starts at the full dt; a sub-step whose Newton iteration needs more
// than 24 corrections is retried at half the size, which stays in force for the rest of the
// step. ag is linear within a step and zero after the record.
std::int32_t newmarkVar(double* u, double* v, double* a, double* fs, const double* ag,
                        std::int32_t nAg, std::int32_t nTH, double dt, double m, double zeta,
                        double k, double fy, double kin, double iso, double beta, double gamma,
                        const char* module) {
  HardeningState material;
  material.module = module;
  const double Hkin = k * kin;
  const double Hiso = k * iso;
  const double cd = std::sqrt(m * k) * (zeta + zeta);
  const Oscillator osc{m, cd, k, fy, Hkin, Hiso};

  // An empty record is a record at rest.
  const double ag0 = nAg > 0 ? ag[0] : 0.0;
  u[0] = 0.0;
  v[0] = 0.0;
  fs[0] = hardening(material, 1, u[0], k, fy, Hkin, Hiso);
  a[0] = (-ag0 - (cd / m) * v[0]) - fs[0] / m;
  if (nTH - 1 < 1) return 0;

  const double c1 = 1.0 - gamma / beta;
  const double c2 = (gamma * (-0.5)) / beta + 1.0;
  const double c3 = (-0.5) / beta + 1.0;
  Committed committed{0.0, 0.0, a[0]};

  for (std::int32_t i = 0; i < nTH - 1; ++i) {
    const double p0 = i < nAg ? ag[i] : 0.0;
    const double p1 = i < nAg - 1 ? ag[i + 1] : 0.0;
    double dtSub = dt;
    double t = 0.0;
    do {
      const double te = t + dtSub;
      const double agSub = p0 + ((p1 - p0) * te) / dt;
      const std::int32_t j = attemptSubStep(material, osc, committed, dtSub, agSub, beta, gamma, c1,
                                            c2, c3, &u[i + 1], &v[i + 1], &a[i + 1], &fs[i + 1]);
      // A sub-step too small to advance the time of the step could never end it (only for
      // absurd ratios of dt to the smallest sub-step).
      const bool stalled = te == t && t < dt;
      if (j <= kLastAccepted && !stalled) {
        fs[i + 1] = hardening(material, 2, u[i + 1], k, fy, Hkin, Hiso);
        hardening(material, 4, u[i + 1], k, fy, Hkin, Hiso);
        committed = Committed{u[i + 1], v[i + 1], a[i + 1]};
        t = te;
      } else if (dtSub < kSmallestHalvable || std::isnan(dtSub) || stalled) {
        core::warn("??? %s::newmarkVar - failed to converge: dtSub = %f\n", module, dtSub);
        return -1;
      } else {
        dtSub = dtSub * 0.5;
      }
    } while (t < dt);
  }
  return 0;
}

}  // namespace morbane
