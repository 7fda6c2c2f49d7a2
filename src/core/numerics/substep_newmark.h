// The sub-stepping Newmark integrator of every nonlinear single-degree-of-freedom module (one or
// two horizontal components): Newton iterations per sub-step, halving of unsettled sub-steps.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "core/runtime/console.h"

namespace core {

// One value per horizontal component.
template <std::size_t N>
using Components = std::array<double, N>;

// A force law is a type Law with
//   static constexpr std::size_t kComponents;               // 1 or 2
//   void evaluate(Components<kComponents> x);                // trial state at the displacement x
//   double force(std::size_t i) const;                       // restoring force of the last
//   double tangent(std::size_t i, std::size_t j) const;      // evaluation and ∂force_i/∂x_j there
//                                                            // (symmetric for two components)
//   void commit();                                           // the trial state becomes committed
// evaluate may keep the answer of its last evaluation (a cache); commit is called once per
// accepted sub-step, right after an evaluate at the accepted displacement.

// Displacements closer than this (absolute, the double machine epsilon; summed over the
// components) count as the same point: the force laws then reuse their last evaluation.
constexpr double kSameDisplacement = 2.220446049250313e-16;

// Displacement, velocity and acceleration of every component at one instant.
template <std::size_t N>
struct Motion {
  Components<N> u, v, a;
};

// The working sample of a sub-step attempt: its motion and the force of its last iteration.
template <std::size_t N>
struct Sample {
  Components<N> u, v, a, fs;
};

// Newmark's β and γ with the three predictor factors formed from them once per analysis.
struct NewmarkFactors {
  double beta, gamma;
  double velFromAcc;  // 1 − γ/(2β): committed acceleration → predicted velocity (times dtSub)
  double velFromVel;  // 1 − γ/β: committed velocity → predicted velocity
  double accFromAcc;  // 1 − 1/(2β): committed acceleration → predicted acceleration
};

inline NewmarkFactors newmarkFactors(double beta, double gamma) {
  return {beta, gamma, 1.0 - (gamma * 0.5) / beta, 1.0 - gamma / beta, 1.0 - 0.5 / beta};
}

// Viscous damping constant 2ζ√(m·k) of mass m on the initial stiffness k.
inline double viscousDamping(double m, double k, double zeta) {
  return std::sqrt(m * k) * (zeta + zeta);
}

// What a step with no time to cover (dt ≤ 0 or NaN) does: one attempt like any other step, or
// none, so that the working sample holds the committed state.
enum class StepWithoutTime { Attempted, Held };

// What a module fixes about its sub-stepping.
struct SubstepLimits {
  double tolerance;            // Newton stops once the correction work falls below this ...
  std::int32_t iterationCap;   // ... or after this many corrections
  std::int32_t lastAccepted;   // an attempt that needed more corrections is halved
  double smallestHalvable;     // a rejected sub-step shorter than this fails the analysis
  StepWithoutTime stepWithoutTime;
  const char* module;          // names the module in the failure warning
};

// One oscillator under integration: its force law (with the law's trial and committed state),
// mass and viscous damping constant, the motion at the end of its last accepted sub-step and
// where it stands within the current step. All a driver keeps per oscillator, so that oscillators
// can also be advanced side by side.
template <class Law>
struct SubstepOscillator {
  static constexpr std::size_t N = Law::kComponents;
  Law law;
  double m, cd;
  Motion<N> committed{};
  double t = 0.0;      // time of the step covered by accepted sub-steps
  double dtSub = 0.0;  // length of the next attempt
};

// Ground acceleration of every component at the start and end of the current step.
template <std::size_t N>
struct StepGround {
  Components<N> p0, p1;
};

// The formulas below are always inlined, so that a caller compiled for a vector unit compiles them
// for it too.
#define SPECTRA_SUBSTEP_FORMULA inline __attribute__((always_inline))

namespace substep_detail {

// The formulas of an attempt, written once for one oscillator (T = double) and for several side by
// side in lane vectors (T a vector of doubles with the same operators, core/lanes/): every lane
// then performs the scalar operations in the scalar order.

// Ground acceleration at time te of a step of length dt, from p0 at its start to p1 at its end.
template <class T>
SPECTRA_SUBSTEP_FORMULA T groundAt(T p0, T p1, double te, double dt) {
  return p0 + ((p1 - p0) * te) / dt;
}

// The Newmark predictor from the committed velocity v and acceleration a, b = dtSub·β.
template <class T>
SPECTRA_SUBSTEP_FORMULA T predictedVelocity(const NewmarkFactors& f, double dtSub, T v, T a) {
  return (f.velFromAcc * dtSub) * a + f.velFromVel * v;
}

template <class T>
SPECTRA_SUBSTEP_FORMULA T predictedAcceleration(const NewmarkFactors& f, double b, T v, T a) {
  return (-1.0 / b) * v + f.accFromAcc * a;
}

// Out-of-balance force of mass m, damping constant cd and restoring force fs.
template <class T, class S>
SPECTRA_SUBSTEP_FORMULA T residual(T agSub, T a, T v, T fs, S m, S cd) {
  return ((agSub + a) * m + v * cd) + fs;
}

// Newton correction from the residual r and the force law's tangent plus the dynamic stiffness
// Kdyn; the 2 × 2 system is solved by its explicit inverse, written for a symmetric tangent.
template <class Law, class T, std::size_t N>
SPECTRA_SUBSTEP_FORMULA std::array<T, N> correction(const Law& law, T Kdyn,
                                                    const std::array<T, N>& r) {
  if constexpr (N == 1) {
    return {-(r[0] / (Kdyn + law.tangent(0, 0)))};
  } else {
    static_assert(N == 2, "one or two components");
    const T K11 = law.tangent(0, 0) + Kdyn;
    const T K22 = Kdyn + law.tangent(1, 1);
    const T K12 = law.tangent(0, 1);
    const T K21 = law.tangent(1, 0);
    const T det = K22 * K11 - K12 * K21;
    return {-((K22 / det) * r[0]) - (-(K21 / det)) * r[1],
            -(-(K12 / det) * r[0]) - (K11 / det) * r[1]};
  }
}

// The work of a correction that the stopping test compares with the tolerance: |du·r/2| for one
// component, |du1·r1| + |du2·r2| for two, with abs the absolute value of T. NaN when the
// residual is not a number.
template <class T, class Abs>
SPECTRA_SUBSTEP_FORMULA T correctionWork(const std::array<T, 1>& du, const std::array<T, 1>& r,
                                         Abs abs) {
  return abs((du[0] * 0.5) * r[0]);
}

template <class T, class Abs>
SPECTRA_SUBSTEP_FORMULA T correctionWork(const std::array<T, 2>& du, const std::array<T, 2>& r,
                                         Abs abs) {
  return abs(du[0] * r[0]) + abs(du[1] * r[1]);
}

// |x| for one oscillator.
struct AbsoluteValue {
  double operator()(double x) const { return std::fabs(x); }
};

}  // namespace substep_detail

// One attempt of length dtSub from the committed motion of osc, ending at the ground
// accelerations agSub, computed in w: the Newmark predictor (displacement held, velocity and
// acceleration from the Newmark relations), then Newton corrections on the tangent plus the
// dynamic stiffness. The corrections stop once their work is below the tolerance (a work that is
// not a number stops them too) or at the iteration cap. Returns the corrections made. Units: any
// consistent set (force = mass · acceleration). Method: Newmark (1959), J. Eng. Mech. Div. ASCE
// 85(EM3), in the incremental Newton form of Chopra, Dynamics of Structures, "Newmark's method
// for nonlinear systems".
template <class Law>
std::int32_t attemptSubStep(SubstepOscillator<Law>& osc, const NewmarkFactors& f,
                            const SubstepLimits& limits, double dtSub,
                            const Components<Law::kComponents>& agSub,
                            Sample<Law::kComponents>& w) {
  constexpr std::size_t N = Law::kComponents;
  const double b = dtSub * f.beta;
  const double cv = f.gamma / b;
  const double ca = 1.0 / (b * dtSub);
  const Motion<N>& c = osc.committed;
  for (std::size_t k = 0; k < N; ++k) {
    w.u[k] = c.u[k];
    w.v[k] = substep_detail::predictedVelocity(f, dtSub, c.v[k], c.a[k]);
    w.a[k] = substep_detail::predictedAcceleration(f, b, c.v[k], c.a[k]);
  }
  // Locals, so that the force law (called out of line) cannot be thought to change them.
  const double m = osc.m, cd = osc.cd;
  const double tolerance = limits.tolerance;
  const std::int32_t cap = limits.iterationCap;
  const double Kdyn = ca * m + cv * cd;

  std::int32_t j = 0;
  double work = 0.0;
  do {
    osc.law.evaluate(w.u);
    Components<N> r;
    for (std::size_t k = 0; k < N; ++k) {
      w.fs[k] = osc.law.force(k);
      r[k] = substep_detail::residual(agSub[k], w.a[k], w.v[k], w.fs[k], m, cd);
    }
    const Components<N> du = substep_detail::correction(osc.law, Kdyn, r);
    for (std::size_t k = 0; k < N; ++k) {
      w.u[k] = w.u[k] + du[k];
      w.v[k] = w.v[k] + du[k] * cv;
      w.a[k] = w.a[k] + du[k] * ca;
    }
    work = substep_detail::correctionWork(du, r, substep_detail::AbsoluteValue{});
    ++j;
  } while (work >= tolerance && j < cap);
  return j;
}

enum class SubstepOutcome { Accepted, Halved, Failed };

// What becomes of an attempt that ended at te after j corrections, computed in w (see
// advanceSubStep): committed when settled within the accepted number of corrections, the force
// law evaluated once more at its end (that force goes into the sample) and committed; otherwise
// the sub-step is halved, or the analysis fails. Split from the attempt so that oscillators
// advanced side by side settle an attempt exactly as one advanced alone.
template <class Law>
SubstepOutcome settleSubStep(SubstepOscillator<Law>& osc, double te, std::int32_t j, double dt,
                             const SubstepLimits& limits, Sample<Law::kComponents>& w) {
  constexpr std::size_t N = Law::kComponents;
  const bool stalled = te == osc.t && osc.t < dt;
  if (j <= limits.lastAccepted && !stalled) {
    osc.law.evaluate(w.u);
    for (std::size_t k = 0; k < N; ++k) w.fs[k] = osc.law.force(k);
    osc.law.commit();
    for (std::size_t k = 0; k < N; ++k) {
      osc.committed.u[k] = w.u[k];
      osc.committed.v[k] = w.v[k];
      osc.committed.a[k] = w.a[k];
    }
    osc.t = te;
    return SubstepOutcome::Accepted;
  }
  if (osc.dtSub < limits.smallestHalvable || std::isnan(osc.dtSub) || stalled)
    return SubstepOutcome::Failed;
  osc.dtSub = osc.dtSub * 0.5;
  return SubstepOutcome::Halved;
}

// The next sub-step of osc within the step of length dt from ground g.p0 to g.p1 (linear in
// between, so each sub-step sees the ground at its own end time). An attempt settled within the
// accepted number of corrections is committed: the force law is evaluated once more at its end
// (that force goes into the sample) and commits. Otherwise the sub-step is halved, and stays so
// for the rest of the step, unless it is already below the smallest halvable length, or not a
// number, or too small to advance the time of the step at all: that fails the analysis. A NaN
// sub-step never gets there: its ground and so every residual is NaN, which ends the first
// attempt after one correction.
template <class Law>
SubstepOutcome advanceSubStep(SubstepOscillator<Law>& osc, const StepGround<Law::kComponents>& g,
                              double dt, const NewmarkFactors& f, const SubstepLimits& limits,
                              Sample<Law::kComponents>& w) {
  constexpr std::size_t N = Law::kComponents;
  const double te = osc.t + osc.dtSub;
  Components<N> agSub;
  for (std::size_t k = 0; k < N; ++k)
    agSub[k] = substep_detail::groundAt(g.p0[k], g.p1[k], te, dt);
  const std::int32_t j = attemptSubStep(osc, f, limits, osc.dtSub, agSub, w);
  return settleSubStep(osc, te, j, dt, limits, w);
}

// The histories of one analysis, one array per quantity and component.
template <std::size_t N>
struct SubstepHistories {
  std::array<double*, N> u, v, a, fs;
};

// Ground records of every component: nAg samples at dt, at rest before and after.
template <std::size_t N>
struct GroundRecord {
  std::array<const double*, N> ag;
  std::int32_t nAg;
};

namespace substep_detail {

template <std::size_t N>
void store(const SubstepHistories<N>& h, std::int32_t n, const Sample<N>& w) {
  for (std::size_t k = 0; k < N; ++k) {
    h.u[k][n] = w.u[k];
    h.v[k][n] = w.v[k];
    h.a[k][n] = w.a[k];
    h.fs[k][n] = w.fs[k];
  }
}

}  // namespace substep_detail

// Integrates m·ü + cd·u̇ + fs(u) = −m·ag(t) per component from rest over samples 0 .. nTH − 1
// (sample 0 is written even for nTH < 1), ag linear within a step and zero after the record.
// Each step starts at the full dt and is covered by sub-steps (advanceSubStep); its time is a
// running sum compared with dt without snapping. Sample i + 1 starts as the committed state with
// the force of sample i: a step without time keeps it when the limits hold such steps, and any
// attempt overwrites all of it. A step ends only on an accepted attempt or without any, so the
// committed state carried from step to step is always sample i at the start of step i. Returns
// 0, or −1 after the warning "??? <Module>::newmarkVar - failed to converge: dtSub = …" when a
// sub-step fails (the working sample then holds the failed attempt).
template <class Law>
std::int32_t integrateSubstepped(SubstepOscillator<Law>& osc,
                                 const SubstepHistories<Law::kComponents>& h,
                                 const GroundRecord<Law::kComponents>& ground, std::int32_t nTH,
                                 double dt, const NewmarkFactors& f, const SubstepLimits& limits) {
  constexpr std::size_t N = Law::kComponents;
  for (std::size_t k = 0; k < N; ++k) {
    const double ag0 = ground.nAg > 0 ? ground.ag[k][0] : 0.0;
    h.u[k][0] = 0.0;
    h.v[k][0] = 0.0;
    h.fs[k][0] = 0.0;
    h.a[k][0] = (-ag0 - (osc.cd / osc.m) * h.v[k][0]) - h.fs[k][0] / osc.m;
    osc.committed.u[k] = 0.0;
    osc.committed.v[k] = 0.0;
    osc.committed.a[k] = h.a[k][0];
  }
  if (nTH - 1 < 1) return 0;

  for (std::int32_t i = 0; i < nTH - 1; ++i) {
    StepGround<N> g;
    for (std::size_t k = 0; k < N; ++k) {
      g.p0[k] = i < ground.nAg ? ground.ag[k][i] : 0.0;
      g.p1[k] = i < ground.nAg - 1 ? ground.ag[k][i + 1] : 0.0;
    }
    Sample<N> w;
    for (std::size_t k = 0; k < N; ++k) {
      w.u[k] = osc.committed.u[k];
      w.v[k] = osc.committed.v[k];
      w.a[k] = osc.committed.a[k];
      w.fs[k] = h.fs[k][i];
    }
    substep_detail::store(h, i + 1, w);

    osc.t = 0.0;
    osc.dtSub = dt;
    if (limits.stepWithoutTime == StepWithoutTime::Held && !(osc.t < dt)) continue;
    do {
      const SubstepOutcome outcome = advanceSubStep(osc, g, dt, f, limits, w);
      substep_detail::store(h, i + 1, w);
      if (outcome == SubstepOutcome::Failed) {
        warn("??? %s::newmarkVar - failed to converge: dtSub = %f\n", limits.module, osc.dtSub);
        return -1;
      }
    } while (osc.t < dt);
  }
  return 0;
}

}  // namespace core
