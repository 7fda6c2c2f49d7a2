// Lengths of the time histories of the elastic and inelastic drivers: the record plus a
// free-vibration tail long enough for the motion to decay to 1 % of its amplitude.
#pragma once

#include <cstdint>

namespace core {

// Scratch capacity nMax of a call, sized for the last period and the first damping ratio and
// bounded by 10·nAg. Computed in 64 bits so that huge quotients and records cannot overflow; at
// least 1, so that sample 0 always exists.
std::int64_t historyCapacity(std::int32_t nAg, double zeta0, double lastPeriod, double dt);

// Samples of one analysis at circular frequency omega and damping ratio zeta, never more than
// nMax (a negative last period would otherwise let an analysis overrun the scratch vectors) and
// never fewer than 1.
std::int32_t historyLength(std::int32_t nAg, double zeta, double omega, double dt,
                           std::int64_t nMax);

// Double-to-integer conversion toward zero that saturates instead of overflowing; NaN gives 0.
std::int64_t truncSaturated(double x);

}  // namespace core
