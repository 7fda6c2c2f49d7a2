// Standard benchmark workloads shared by every module's benchmark.
#pragma once

#include <vector>

namespace bench {

// The standard record: 4000 samples of a synthetic accelerogram at dt = 0.01 s.
const std::vector<double>& standardRecord();
constexpr double kStandardDt = 0.01;

// n periods log-spaced from first to last.
std::vector<double> logPeriods(double first, double last, int n);

}  // namespace bench
