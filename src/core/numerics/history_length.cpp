// Free-vibration tail lengths from the 1 % decay rule e^(−ζωt) = 0.01.
#include "core/numerics/history_length.h"

#include <algorithm>
#include <cmath>

namespace core {

namespace {

// Far beyond any record length, yet safe to add to and subtract from without overflow.
constexpr std::int64_t kSaturation = std::int64_t{1} << 53;

}  // namespace

std::int64_t truncSaturated(double x) {
  if (std::isnan(x)) return 0;
  if (x >= static_cast<double>(kSaturation)) return kSaturation;
  if (x <= -static_cast<double>(kSaturation)) return -kSaturation;
  return static_cast<std::int64_t>(x);
}

std::int64_t historyCapacity(std::int32_t nAg, double zeta0, double lastPeriod, double dt) {
  const double pi = std::acos(-1.0);
  const double twoPi = pi + pi;
  const double decay = std::log(0.01);
  std::int64_t nMax = nAg;
  // The negated test keeps a NaN damping ratio on the no-tail branch.
  if (!(zeta0 <= 0.0) && !std::isnan(zeta0)) {
    nMax = nAg - truncSaturated((decay * lastPeriod) / ((twoPi * zeta0) * dt));
    const std::int64_t bound = std::int64_t{10} * nAg;
    if (nMax >= bound) nMax = bound;
  }
  return std::max<std::int64_t>(nMax, 1);
}

std::int32_t historyLength(std::int32_t nAg, double zeta, double omega, double dt,
                           std::int64_t nMax) {
  const double decay = std::log(0.01);
  std::int64_t nTH = nAg;
  if (!(zeta <= 0.0) && !std::isnan(zeta))
    nTH = nAg - truncSaturated(decay / ((omega * zeta) * dt));
  nTH = std::min(nTH, nMax);
  return static_cast<std::int32_t>(std::max<std::int64_t>(nTH, 1));
}

}  // namespace core
