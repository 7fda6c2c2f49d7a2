// Pieces the measures' figures share: axes from --axes, a period axis, curves over periods.
#pragma once

#include <string>
#include <vector>

#include "cli/writers/plot.h"

namespace cli {

struct AxisScales {
  plot::Scale x = plot::Scale::Linear, y = plot::Scale::Linear;
};

// "lin", "logx", "logy" or "loglog".
AxisScales axisScales(const std::string& axes);

// "Period T [s]" over the periods: from zero on a linear axis unless they lie far from it, and
// the whole range of the periods even where values are missing.
plot::Axis periodAxis(const std::vector<double>& periods, plot::Scale scale);

// A value axis: from zero when linear.
plot::Axis valueAxis(const std::string& label, plot::Scale scale);

// A curve over the periods, sorted, broken at gaps of the period list and at missing values.
plot::Series periodSeries(const std::vector<double>& periods, const std::vector<double>& values,
                          const std::string& label, plot::Scale periodScale);

}  // namespace cli
