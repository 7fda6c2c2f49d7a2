// The time histories of one analysis: relative displacement, velocity and acceleration and the
// restoring force, n samples each, for one component or two.
#pragma once

#include <cstdint>

#include "core/runtime/scratch.h"

namespace core {

struct Histories {
  double* u;
  double* v;
  double* a;
  double* fs;
  std::int32_t n;
};

struct Histories2 {
  Histories c1, c2;
};

// Vectors first .. first + 3 of a scratch set.
inline Histories historiesOf(const Scratch& s, int first = 0) {
  return {s.vector(first), s.vector(first + 1), s.vector(first + 2), s.vector(first + 3),
          static_cast<std::int32_t>(s.length)};
}

inline Histories2 histories2Of(const Scratch& s) { return {historiesOf(s, 0), historiesOf(s, 4)}; }

}  // namespace core
