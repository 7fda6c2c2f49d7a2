// An axis of a panel made concrete: its range from the description and the data, its ticks,
// and the map from values to a share of the axis length.
#pragma once

#include <vector>

#include "cli/writers/canvas.h"
#include "cli/writers/plot.h"
#include "cli/writers/ticks.h"

namespace cli::plot {

struct AxisScale {
  Scale scale = Scale::Linear;
  double lo = 0.0, hi = 1.0;
  std::vector<Tick> ticks;

  // Whether the axis can show the value (finite; positive on a log axis).
  bool shows(double value) const;
  // 0 at lo, 1 at hi (in log10 on a log axis); outside [0, 1] beyond the range.
  double share(double value) const;
};

// The plot area of a panel with its two axes: where a data point lands in px.
struct Frame {
  Rect area;
  AxisScale x, y;
  // Clamped far outside the area, where the canvas clips anyway, so that huge values stay
  // drawable.
  Point at(double xValue, double yValue) const;
};

// The axis for values (every value the panel puts on it; those it cannot show are ignored);
// `room` is the axis length in px, which sets how many linear ticks fit. An Error when nothing
// can be shown and no range was given.
AxisScale scaleFor(const Axis& axis, const std::vector<double>& values, double room);

}  // namespace cli::plot
