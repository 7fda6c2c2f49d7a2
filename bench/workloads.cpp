// Benchmark workloads: the synthetic record of the command-line demo, so timings are of real-looking
// ground motion.
#include "workloads.h"

#include <cmath>
#include <cstdint>

#include "core/numerics/history_length.h"
#include "records/synthetic_record.h"

namespace bench {

const std::vector<double>& standardRecord() {
  static const std::vector<double> record = records::syntheticRecord(4000, kStandardDt, 1, 3.0);
  return record;
}

std::vector<double> logPeriods(double first, double last, int n) {
  std::vector<double> periods(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i)
    periods[i] = first * std::pow(last / first, n > 1 ? double(i) / (n - 1) : 0.0);
  return periods;
}

long elasticSteps(int nAg, double dt, const std::vector<double>& T, const std::vector<double>& zeta) {
  const double pi = std::acos(-1.0);
  const std::int64_t nMax = core::historyCapacity(nAg, zeta[0], T.back(), dt);
  long steps = 0;
  for (double period : T)
    for (double z : zeta) steps += core::historyLength(nAg, z, (pi + pi) / period, dt, nMax) - 1;
  return steps;
}

}  // namespace bench
