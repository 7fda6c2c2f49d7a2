// The lead-rubber bearing of one period and characteristic strength, shared by the one- and
// two-component modules (Pellory and Vintarrow).
#pragma once

#include <cmath>
#include <cstdint>

namespace pellory {

// Circular frequency of the post-yield stiffness, the elastic stiffness ku = m·ω²/alpha and the
// yield force Fy = Qd/(1 − alpha).
struct Isolator {
  double omega, ku, Fy;
};

// Period i and strength j of a call whose inputs have m, alpha, Qd and periods.
template <class Inputs>
Isolator isolatorOf(const Inputs& in, std::int32_t i, std::int32_t j) {
  const double pi = std::acos(-1.0);
  const double omega = (pi + pi) / in.periods.data[i];
  return {omega, ((in.m * omega) * omega) / in.alpha, in.Qd.data[j] / (1.0 - in.alpha)};
}

}  // namespace pellory
