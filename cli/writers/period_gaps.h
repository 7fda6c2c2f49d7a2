// A spectrum as a line over period: points in period order, broken where the period list has
// a gap, so that no straight line stands for values that were never computed.
#pragma once

#include <vector>

namespace cli::plot {

struct Curve {
  std::vector<double> x, y;  // a NaN pair marks a gap
};

// The points sorted by period, with a NaN point inserted after every step that is more than
// four times as long as the longer of its neighbouring steps (measured in log(T) when
// logPeriods). Values that are not finite stay, and break the line where they are.
Curve curveOverPeriods(const std::vector<double>& periods, const std::vector<double>& values,
                       bool logPeriods);

}  // namespace cli::plot
