// Nonlinear oscillators advanced side by side in vector lanes through the sub-stepping Newmark
// loop, each lane with the scalar operation order of core::integrateSubstepped, and the peaks of
// the drivers taken as the state advances.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "core/lanes/lane_jobs.h"
#include "core/lanes/lane_vector.h"
#include "core/numerics/magnitude.h"
#include "core/numerics/substep_newmark.h"

namespace core::lanes {

// The five peaked quantities.
enum { kDsp, kVel, kAcc, kTotAcc, kRFrc, kPeaks };

// L oscillators whose force law LaneLaw (the lane form of LaneLaw::Law, see below) is evaluated
// for all lanes at once. Every lane starts with a job and is advanced one step per call of step()
// until its last sample or its failure. A step's first attempt covers the whole step in the
// lanes, each lane iterating until its own Newton test stops it (finished lanes are masked); a
// lane whose attempt is rejected settles it and finishes the step in the scalar loop, from the
// state the attempt left, then rejoins. Peaks are taken at every sample, so no history is kept.
//
// A lane force law holds, per lane, the scalar law's parameters and state, with
//   using Law = <the scalar law>;   static constexpr std::size_t kComponents;
//   void load(int l, const Law&);   void store(int l, Law&) const;   // lane l to and from a law
//   void evaluate(const std::array<V, N>& x, M mask);   // as Law::evaluate in the masked lanes
//   V force(std::size_t i) const;   V tangent(std::size_t i, std::size_t j) const;
//   void commit(M mask);
template <class LaneLaw, class Ln>
class SubstepLanes {
 public:
  using Law = typename LaneLaw::Law;
  static constexpr std::size_t N = Law::kComponents;
  static constexpr int L = Ln::kCount;
  typedef typename Ln::V V;
  typedef typename Ln::M M;
  typedef std::array<V, N> Vs;

  explicit SubstepLanes(const LaneRun<N>& run)
      : run_(run),
        b_(run.dt * run.f.beta),
        velocityFactor_(run.f.gamma / b_),
        accelerationFactor_(1.0 / (b_ * run.dt)) {}

  bool idle(int l) const { return !holding_[l]; }
  // Holding a job that has reached its last sample or failed.
  bool done(int l) const { return holding_[l] && !live_[l]; }
  std::int64_t id(int l) const { return id_[l]; }

  // Lane l takes the job: the oscillator at rest under the first ground sample, sample 0 peaked.
  SPECTRA_LANES_INLINE void start(int l, const LaneJob<Law>& job) {
    padGround(job.nTH);
    const SubstepOscillator<Law>& o = job.osc;
    scalar_[l] = o.law;
    law_.load(l, o.law);
    m_[l] = o.m;
    cd_[l] = o.cd;
    // As in attemptSubStep, for dtSub = dt.
    Kdyn_[l] = accelerationFactor_ * o.m + velocityFactor_ * o.cd;
    Vs u, v, a, fs, g;
    for (std::size_t k = 0; k < N; ++k) {
      // Sample 0 as integrateSubstepped writes it.
      const double ag0 = run_.ground.nAg > 0 ? run_.ground.ag[k][0] : 0.0;
      cu_[k][l] = 0.0;
      cv_[k][l] = 0.0;
      ca_[k][l] = (-ag0 - (o.cd / o.m) * 0.0) - 0.0 / o.m;
      u[k] = cu_[k], v[k] = cv_[k], a[k] = ca_[k], fs[k] = V{};
      g[k] = splat<V>(ag0);
    }
    for (V& p : peak_) p[l] = 0.0;
    finite_[l] = -1;
    holding_[l] = true;
    failed_[l] = false;
    sample_[l] = 0;
    last_[l] = job.nTH - 1;
    live_[l] = 0 < last_[l] ? -1 : 0;
    id_[l] = job.id;
    M only{};
    only[l] = -1;
    takePeaks(u, v, a, fs, g, only);
  }

  // The result of a done lane, which becomes idle.
  LaneResult release(int l) {
    LaneResult r;
    r.failed = failed_[l];
    r.dtSub = failedDtSub_[l];
    r.dsp = peak_[kDsp][l], r.vel = peak_[kVel][l], r.acc = peak_[kAcc][l];
    r.totAcc = peak_[kTotAcc][l], r.rFrc = peak_[kRFrc][l];
    if constexpr (N == 1)
      r.resDsp = std::fabs(cu_[0][l]);
    else
      r.resDsp = magnitude(cu_[0][l], cu_[1][l]);
    r.finite = finite_[l] != 0;
    holding_[l] = false;
    live_[l] = 0;
    return r;
  }

  // Every live lane by one step of the record. Returns whether a lane reached its last sample or
  // failed. The state is worked on in locals (registers) and stored once per step; the rare
  // rejected attempt goes through the members.
  SPECTRA_LANES_INLINE bool step() {
    const M wasLive = live_;
    Vs p0, p1;
    gatherGround(p0, p1);
    const double dt = run_.dt;
    LaneLaw law = law_;
    Vs agSub, u, v, a;
    for (std::size_t k = 0; k < N; ++k) {
      // The first attempt ends at te = 0 + dt = dt.
      agSub[k] = substep_detail::groundAt(p0[k], p1[k], dt, dt);
      u[k] = cu_[k];
      v[k] = substep_detail::predictedVelocity(run_.f, dt, cv_[k], ca_[k]);
      a[k] = substep_detail::predictedAcceleration(run_.f, b_, cv_[k], ca_[k]);
    }
    const M j = iterate(law, agSub, u, v, a);

    const M accepted = live_ & (j <= M{} + run_.limits.lastAccepted);
    law.evaluate(u, accepted);
    Vs fs;
    for (std::size_t k = 0; k < N; ++k) fs[k] = law.force(k);
    law.commit(accepted);
    law_ = law;
    for (std::size_t k = 0; k < N; ++k) {
      cu_[k] = select(accepted, u[k], cu_[k]);
      cv_[k] = select(accepted, v[k], cv_[k]);
      ca_[k] = select(accepted, a[k], ca_[k]);
    }
    const M rejected = live_ & ~accepted;
    if (any(rejected)) {
      rejected_ = {rejected, j};
      attempt_ = {p0, p1, u, v, a, fs};
      finishRejected();
      u = attempt_.u, v = attempt_.v, a = attempt_.a, fs = attempt_.fs;
    }

    takePeaks(u, v, a, fs, p1, live_);
    sample_ = sample_ - live_;
    live_ = live_ & (sample_ < last_);
    return any(wasLive & ~live_);
  }

 private:
  // The ground records followed by ground at rest up to sample nTH of the longest job so far, so
  // that a step's ground is two loads without a test.
  void padGround(std::int32_t nTH) {
    const std::size_t length = static_cast<std::size_t>(std::max(nTH, run_.ground.nAg)) + 1;
    if (padded_[0].size() >= length) return;
    for (std::size_t k = 0; k < N; ++k) {
      padded_[k].assign(length, 0.0);
      for (std::int32_t s = 0; s < run_.ground.nAg; ++s) padded_[k][s] = run_.ground.ag[k][s];
    }
  }

  // Ground at both ends of each lane's step (zero after the record), as integrateSubstepped
  // takes it. One load each when the live lanes are at the same sample, as lanes that started
  // together are.
  SPECTRA_LANES_INLINE void gatherGround(Vs& p0, Vs& p1) const {
    const long long first = sample_[0];
    if (!any(live_ & ~(sample_ == first))) {
      for (std::size_t k = 0; k < N; ++k) {
        p0[k] = splat<V>(padded_[k][first]);
        p1[k] = splat<V>(padded_[k][first + 1]);
      }
      return;
    }
    long long index[L];
    __builtin_memcpy(index, &sample_, sizeof index);
    for (std::size_t k = 0; k < N; ++k) {
      const double* ag = padded_[k].data();
      double s0[L], s1[L];
      for (int l = 0; l < L; ++l) {
        s0[l] = ag[index[l]];
        s1[l] = ag[index[l] + 1];
      }
      __builtin_memcpy(&p0[k], s0, sizeof s0);
      __builtin_memcpy(&p1[k], s1, sizeof s1);
    }
  }

  // The Newton corrections of the first attempt (attemptSubStep with dtSub = dt), each live lane
  // until its own test stops it. Returns the corrections made per lane.
  SPECTRA_LANES_INLINE M iterate(LaneLaw& law, const Vs& agSub, Vs& u, Vs& v, Vs& a) const {
    const double tolerance = run_.limits.tolerance;
    const M cap = M{} + run_.limits.iterationCap;
    M run = live_;
    M j{};
    do {
      law.evaluate(u, run);
      Vs r;
      for (std::size_t k = 0; k < N; ++k)
        r[k] = substep_detail::residual(agSub[k], a[k], v[k], law.force(k), m_, cd_);
      const Vs du = substep_detail::correction(law, Kdyn_, r);
      for (std::size_t k = 0; k < N; ++k) {
        u[k] = select(run, u[k] + du[k], u[k]);
        v[k] = select(run, v[k] + du[k] * velocityFactor_, v[k]);
        a[k] = select(run, a[k] + du[k] * accelerationFactor_, a[k]);
      }
      const V work = substep_detail::correctionWork(du, r, Absolute{});
      j = j - run;  // a set mask is −1
      run = run & (work >= tolerance) & (j < cap);
    } while (any(run));
    return j;
  }

  // Every lane whose first attempt was rejected (rejected_, with the attempt in attempt_): settles
  // the attempt and covers the rest of the step by the scalar loop, from the law state the attempt
  // left, then rejoins with the accepted sample in attempt_, or is marked failed.
  __attribute__((noinline)) void finishRejected() {
    for (int l = 0; l < L; ++l)
      if (rejected_.lanes[l]) finishInScalar(l, rejected_.corrections[l]);
  }

  void finishInScalar(int l, std::int64_t j) {
    const double dt = run_.dt;
    SubstepOscillator<Law> osc{*scalar_[l], m_[l], cd_[l]};
    law_.store(l, osc.law);
    StepGround<N> g;
    Sample<N> w;
    for (std::size_t k = 0; k < N; ++k) {
      osc.committed.u[k] = cu_[k][l];
      osc.committed.v[k] = cv_[k][l];
      osc.committed.a[k] = ca_[k][l];
      g.p0[k] = attempt_.p0[k][l];
      g.p1[k] = attempt_.p1[k][l];
      w.u[k] = attempt_.u[k][l];
      w.v[k] = attempt_.v[k][l];
      w.a[k] = attempt_.a[k][l];
      w.fs[k] = attempt_.fs[k][l];
    }
    osc.t = 0.0;
    osc.dtSub = dt;
    SubstepOutcome outcome =
        settleSubStep(osc, dt, static_cast<std::int32_t>(j), dt, run_.limits, w);
    while (outcome != SubstepOutcome::Failed && osc.t < dt)
      outcome = advanceSubStep(osc, g, dt, run_.f, run_.limits, w);
    if (outcome == SubstepOutcome::Failed) {
      failed_[l] = true;
      failedDtSub_[l] = osc.dtSub;
      live_[l] = 0;
      return;
    }
    law_.load(l, osc.law);
    for (std::size_t k = 0; k < N; ++k) {
      cu_[k][l] = osc.committed.u[k];
      cv_[k][l] = osc.committed.v[k];
      ca_[k][l] = osc.committed.a[k];
      attempt_.u[k][l] = w.u[k];
      attempt_.v[k][l] = w.v[k];
      attempt_.a[k][l] = w.a[k];
      attempt_.fs[k][l] = w.fs[k];
    }
  }

  // The sample (u, v, a, fs) under ground g into the peaks of the masked lanes.
  SPECTRA_LANES_INLINE void takePeaks(const Vs& u, const Vs& v, const Vs& a, const Vs& fs,
                                      const Vs& g, M mask) {
    M finite = finite_;
    for (std::size_t k = 0; k < N; ++k)
      finite = finite & (absolute(u[k]) <= std::numeric_limits<double>::max());
    finite_ = select(mask, finite, finite_);
    if constexpr (N == 1) {
      raise(peak_[kDsp], absolute(u[0]), mask);
      raise(peak_[kVel], absolute(v[0]), mask);
      raise(peak_[kAcc], absolute(a[0]), mask);
      // After the record the ground is 0, and |a + 0| is |a| bit for bit.
      raise(peak_[kTotAcc], absolute(a[0] + g[0]), mask);
      raise(peak_[kRFrc], absolute(fs[0]), mask);
    } else {
      raiseMagnitude(peak_[kDsp], u[0], u[1], mask);
      raiseMagnitude(peak_[kVel], v[0], v[1], mask);
      raiseMagnitude(peak_[kAcc], a[0], a[1], mask);
      // a + 0 has the magnitude of a, bit for bit.
      raiseMagnitude(peak_[kTotAcc], a[0] + g[0], a[1] + g[1], mask);
      raiseMagnitude(peak_[kRFrc], fs[0], fs[1], mask);
    }
  }

  static SPECTRA_LANES_INLINE void raise(V& peak, V candidate, M mask) {
    peak = select((candidate > peak) & mask, candidate, peak);
  }

  // core::raiseMagnitude lane by lane: the padded estimate rules a sample out, or its exact
  // magnitude is formed by the power function and compared.
  static SPECTRA_LANES_INLINE void raiseMagnitude(V& peak, V x, V y, M mask) {
    const V estimate = x * x + y * y;
    V bound = (peak * peak) * (1.0 - kEstimateRelativeMargin);
    bound = select(~(bound < 1e300), splat<V>(1e300), bound);
    const M open =
        mask & ~(estimate * (1.0 + kEstimateRelativeMargin) + kEstimateAbsoluteMargin < bound);
    if (!any(open)) return;
    for (int l = 0; l < L; ++l)
      if (open[l]) {
        const double candidate = magnitude(x[l], y[l]);
        if (candidate > peak[l]) peak[l] = candidate;
      }
  }

  // |x| of lane vectors, for the shared formulas.
  struct Absolute {
    SPECTRA_LANES_INLINE V operator()(const V& x) const { return absolute(x); }
  };

  // A step's first attempt where some lanes were rejected.
  struct Attempt {
    Vs p0, p1, u, v, a, fs;
  };
  struct Rejected {
    M lanes, corrections;
  };

  const LaneRun<N> run_;
  // dtSub·β, γ/b and 1/(b·dtSub) of every first attempt (dtSub = dt).
  const double b_, velocityFactor_, accelerationFactor_;
  LaneLaw law_;
  V m_{}, cd_{}, Kdyn_{};
  Vs cu_{}, cv_{}, ca_{};  // committed displacement, velocity and acceleration
  V peak_[kPeaks] = {};
  M finite_{};
  M sample_{}, last_{};  // the committed sample and the last one of each lane
  M live_{};             // holding a job whose last sample is still ahead
  Attempt attempt_{};
  Rejected rejected_{};
  std::optional<Law> scalar_[L];  // each lane's law as its job gave it, for the scalar loop
  std::vector<double> padded_[N];
  std::int64_t id_[L] = {};
  bool holding_[L] = {}, failed_[L] = {};
  double failedDtSub_[L] = {};
};

// Runs every job the source hands out, L lanes at a time, and hands each result back. Returns
// once no lane holds a job and the source has nothing ready.
template <class LaneLaw, class Ln>
SPECTRA_LANES_INLINE void runJobs(const LaneRun<LaneLaw::Law::kComponents>& run,
                                  JobSource<typename LaneLaw::Law>& source) {
  constexpr int L = Ln::kCount;
  SubstepLanes<LaneLaw, Ln> lanes(run);
  bool ask = true;  // the source may have a job ready
  for (;;) {
    bool holding = false;
    for (int l = 0; l < L; ++l) {
      while (ask && lanes.idle(l)) {
        const LaneJob<typename LaneLaw::Law>* job = source.next();
        ask = job != nullptr;
        if (!ask) break;
        const std::int64_t id = job->id;
        lanes.start(l, *job);
        if (lanes.done(l)) source.finished(id, lanes.release(l));
      }
      holding = holding || !lanes.idle(l);
    }
    if (!holding) return;
    if (!lanes.step()) continue;
    for (int l = 0; l < L; ++l)
      if (lanes.done(l)) {
        const std::int64_t id = lanes.id(l);
        source.finished(id, lanes.release(l));
        ask = true;
      }
  }
}

}  // namespace core::lanes
