// Gap detection by neighbouring steps: evenly, log-evenly or 1-2-5 spaced lists have steps of
// similar length to their neighbours; a list with periods left out has one step much longer.
#include "cli/writers/period_gaps.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace cli::plot {

namespace {

constexpr double kGapRatio = 4.0;

bool isGap(const std::vector<double>& steps, std::size_t k) {
  double neighbour = 0;
  if (k > 0) neighbour = std::max(neighbour, steps[k - 1]);
  if (k + 1 < steps.size()) neighbour = std::max(neighbour, steps[k + 1]);
  return neighbour > 0 && steps[k] > kGapRatio * neighbour;
}

}  // namespace

Curve curveOverPeriods(const std::vector<double>& periods, const std::vector<double>& values,
                       bool logPeriods) {
  const std::size_t n = std::min(periods.size(), values.size());
  std::vector<std::size_t> order(n);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return periods[a] < periods[b]; });
  const auto position = [&](double t) { return logPeriods ? std::log(t) : t; };
  std::vector<double> steps;
  for (std::size_t k = 0; k + 1 < n; ++k)
    steps.push_back(position(periods[order[k + 1]]) - position(periods[order[k]]));
  Curve curve;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (std::size_t k = 0; k < n; ++k) {
    curve.x.push_back(periods[order[k]]);
    curve.y.push_back(values[order[k]]);
    if (k + 1 < n && isGap(steps, k)) {
      curve.x.push_back(nan);
      curve.y.push_back(nan);
    }
  }
  return curve;
}

}  // namespace cli::plot
