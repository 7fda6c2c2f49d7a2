// Standard benchmark workloads shared by every module's benchmark.
#pragma once

#include <vector>

namespace bench {

// The standard record: 4000 samples of a synthetic accelerogram at dt = 0.01 s.
const std::vector<double>& standardRecord();
constexpr double kStandardDt = 0.01;

// n periods log-spaced from first to last.
std::vector<double> logPeriods(double first, double last, int n);

// Oscillator-steps that the elastic and inelastic drivers integrate for these periods and
// damping ratios: every analysis runs over the record plus its free-vibration tail.
long elasticSteps(int nAg, double dt, const std::vector<double>& T, const std::vector<double>& zeta);

}  // namespace bench
