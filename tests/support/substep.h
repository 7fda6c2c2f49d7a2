// Force laws for tests of the sub-stepping Newmark integrator, and single attempts of it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/numerics/substep_newmark.h"

namespace support {

// A linear spring force = K·x with a constant N × N stiffness K.
template <std::size_t N>
struct LinearLaw {
  static constexpr std::size_t kComponents = N;
  std::array<core::Components<N>, N> K;
  core::Components<N> x{};
  int evaluations = 0, commits = 0;

  void evaluate(core::Components<N> at) {
    x = at;
    ++evaluations;
  }
  double force(std::size_t i) const {
    double f = 0.0;
    for (std::size_t j = 0; j < N; ++j) f = f + K[i][j] * x[j];
    return f;
  }
  double tangent(std::size_t i, std::size_t j) const { return K[i][j]; }
  void commit() { ++commits; }
};

// A law stuck at its evaluation at rest: force 0, tangent k, whatever the displacement (as the
// real laws behave while the displacement stays within their cache). Newton then converges only
// linearly: each correction leaves the residual times k/(k + Kdyn).
struct FrozenLaw {
  static constexpr std::size_t kComponents = 1;
  double k;
  int commits = 0;

  void evaluate(core::Components<1>) {}
  double force(std::size_t) const { return 0.0; }
  double tangent(std::size_t, std::size_t) const { return k; }
  void commit() { ++commits; }
};

// A law that first makes the Newton iteration fail, then lets it settle, by the count of its
// evaluations: "noisy" (a force of ±1e6 flipping sign at every evaluation, tangent 0: no
// iteration ever settles) for the first `noisyAtStart` evaluations and for the first
// `noisyAfterCommit` evaluations after its first commit, otherwise the linear spring 1·x.
struct ScriptedLaw {
  static constexpr std::size_t kComponents = 1;
  int noisyAtStart, noisyAfterCommit;
  int evaluations = 0, sinceCommit = 0, commits = 0;
  double x = 0.0, sign = 1.0;

  void evaluate(core::Components<1> at) {
    ++evaluations;
    ++sinceCommit;
    x = at[0];
    sign = -sign;
  }
  bool noisy() const {
    return commits == 0 ? evaluations <= noisyAtStart : sinceCommit <= noisyAfterCommit;
  }
  double force(std::size_t) const { return noisy() ? sign * 1e6 : x; }
  double tangent(std::size_t, std::size_t) const { return noisy() ? 0.0 : 1.0; }
  void commit() {
    ++commits;
    sinceCommit = 0;
  }
};

// One attempt of length dt from rest (the committed acceleration −ag0, so that the step starts
// in equilibrium) to the ground accelerations agSub, with Newmark's average acceleration and no
// viscous damping. Returns the corrections made; the attempt's end lands in w.
template <class Law>
std::int32_t attemptFromRest(const Law& law, double m, double dt,
                             const core::Components<Law::kComponents>& ag0,
                             const core::Components<Law::kComponents>& agSub,
                             const core::SubstepLimits& limits,
                             core::Sample<Law::kComponents>& w) {
  core::SubstepOscillator<Law> osc{law, m, 0.0};
  for (std::size_t k = 0; k < Law::kComponents; ++k) osc.committed.a[k] = -ag0[k];
  return core::attemptSubStep(osc, core::newmarkFactors(0.25, 0.5), limits, dt, agSub, w);
}

}  // namespace support
