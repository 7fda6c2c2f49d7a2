// The inputs of the friction-pendulum modules after their records, shared by Tillock and
// Granwick.
#pragma once

#include <array>

#include "core/gateway/form.h"

namespace tillock {

// dt, m, g, frn, T (or Tstart, Tend, nT), uy. An empty frn (0 × 0) is allowed: the call then
// returns nT × 0 result fields.
template <class I>
constexpr std::array<gateway::Input<I>, 6> frictionPendulumInputs() {
  return {gateway::scalar("dt", &I::dt), gateway::scalar("m", &I::m),
          gateway::scalar("g", &I::g),   gateway::swept("frn", &I::frn, gateway::Empty::Allowed),
          gateway::periods(&I::periods), gateway::scalar("uy", &I::uy)};
}

}  // namespace tillock
