// The inputs of the lead-rubber-bearing modules after their records, shared by Pellory and
// Vintarrow.
#pragma once

#include <array>

#include "core/gateway/form.h"

namespace pellory {

// dt, m, Qd, T (or Tstart, Tend, nT), alpha. A 0 × 0 Qd is a defined call: spectra with no
// strength columns. 0 ≤ alpha ≤ 1: the ends give infinite stiffness or strength (infinities and
// NaN in the results); anything else, NaN included, would give numbers without physical meaning.
template <class I>
constexpr std::array<gateway::Input<I>, 5> leadRubberInputs() {
  return {gateway::scalar("dt", &I::dt), gateway::scalar("m", &I::m),
          gateway::swept("Qd", &I::Qd, gateway::Empty::Allowed), gateway::periods(&I::periods),
          gateway::fraction("alpha", &I::alpha)};
}

}  // namespace pellory
