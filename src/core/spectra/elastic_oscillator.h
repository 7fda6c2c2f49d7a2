// The linear oscillator of period i and damping ratio j of an elastic or inelastic call: its
// circular frequency, stiffness and analysis length (record plus a free-vibration tail long
// enough to decay to 1 %, bounded by the call's scratch capacity).
#pragma once

#include <cmath>
#include <cstdint>

#include "core/numerics/history_length.h"
#include "core/spectra/series.h"

namespace core {

struct ElasticOscillator {
  double omega;  // 2π/T
  double k;      // m·ω²
  double zeta;
  std::int32_t nTH;
};

// The scratch capacity of a call, sized for its last period and first damping ratio.
inline std::int64_t callCapacity(std::int32_t nAg, const Series& zeta, const Periods& periods,
                                 double dt) {
  return historyCapacity(nAg, zeta.data[0], periods.data[periods.count - 1], dt);
}

inline ElasticOscillator elasticOscillator(std::int32_t nAg, double dt, double m,
                                           const Series& zeta, const Periods& periods,
                                           std::int32_t i, std::int32_t j, std::int64_t nMax) {
  const double pi = std::acos(-1.0);
  const double omega = (pi + pi) / periods.data[i];
  const double z = zeta.data[j];
  return {omega, omega * (omega * m), z, historyLength(nAg, z, omega, dt, nMax)};
}

}  // namespace core
