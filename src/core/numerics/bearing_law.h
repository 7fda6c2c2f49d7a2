// What the isolator force laws share: their state and the answers the sub-stepping loop reads.
#pragma once

#include <array>
#include <cmath>
#include <cstddef>

#include "core/numerics/substep_newmark.h"

namespace core {

// Force-law state of one analysis of an isolator with N horizontal components: the last
// evaluation (displacement, force, tangent), which a law reuses while the displacement has not
// moved, and the plastic (sliding) displacement of its elastic-plastic element as a trial value
// and as committed at the last accepted sub-step.
template <std::size_t N>
struct BearingState {
  Components<N> dspT{};                  // displacement of the last evaluation
  Components<N> frcT{};                  // isolator force there
  std::array<Components<N>, N> stiffT{};  // tangent stiffness there
  Components<N> dspPlasticT{};           // trial plastic displacement, written only when plastic
  Components<N> dspPlasticC{};           // plastic displacement at the last accepted sub-step
};

// Base of an isolator force law (see the force-law requirements in substep_newmark.h): at rest to
// begin with, the last evaluation at zero displacement with the elastic tangent k·I. A law adds
// evaluate(x), which updates the state unless x is (nearly) the last evaluated displacement.
template <std::size_t N>
struct BearingLaw {
  static constexpr std::size_t kComponents = N;
  BearingState<N> state;

  explicit BearingLaw(double k) {
    for (std::size_t i = 0; i < N; ++i) state.stiffT[i][i] = k;
  }
  // How far x lies from the last evaluated displacement, summed over the components: the cache
  // test compares it with kSameDisplacement. NaN when x is not a number.
  double distanceFromLast(const Components<N>& x) const {
    double d = std::fabs(x[0] - state.dspT[0]);
    for (std::size_t i = 1; i < N; ++i) d = d + std::fabs(x[i] - state.dspT[i]);
    return d;
  }
  double force(std::size_t i) const { return state.frcT[i]; }
  double tangent(std::size_t i, std::size_t j) const { return state.stiffT[i][j]; }
  void commit() { state.dspPlasticC = state.dspPlasticT; }
};

}  // namespace core
