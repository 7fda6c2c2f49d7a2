// The inputs of the elastic modules after their records, shared by Quorvel and Daskent.
#pragma once

#include <array>

#include "core/gateway/form.h"

namespace quorvel {

inline constexpr const char* kMethods[] = {"recform", "newmark", nullptr};

// dt, m, zeta, T (or Tstart, Tend, nT), and the optional time integration method.
template <class I>
constexpr std::array<gateway::Input<I>, 5> elasticInputs() {
  return {gateway::scalar("dt", &I::dt), gateway::scalar("m", &I::m),
          gateway::swept("zeta", &I::zeta, gateway::Empty::Rejected), gateway::periods(&I::periods),
          gateway::keyword("method", &I::method, kMethods, true)};
}

}  // namespace quorvel
