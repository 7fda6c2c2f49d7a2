// Ranges: given ends are kept; free ends follow the data, out to the next tick (linear) or the
// next whole multiple of a power of ten (log); a range of one value is widened so that the axis is not empty.
#include "cli/writers/axis_scale.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "cli/app/error.h"

namespace cli::plot {

namespace {

constexpr double kPxPerLinearTick = 70.0;

struct Extent {
  double lo = std::numeric_limits<double>::infinity();
  double hi = -std::numeric_limits<double>::infinity();
  bool empty() const { return !(lo <= hi); }
};

Extent extentOf(const std::vector<double>& values, bool positiveOnly) {
  Extent e;
  for (double v : values)
    if (std::isfinite(v) && (!positiveOnly || v > 0)) {
      e.lo = std::min(e.lo, v);
      e.hi = std::max(e.hi, v);
    }
  return e;
}

AxisScale logScale(const Axis& axis, const std::vector<double>& values) {
  Extent e = extentOf(values, true);
  if (axis.min && *axis.min > 0) e.lo = *axis.min;
  if (axis.max && *axis.max > 0) e.hi = *axis.max;
  if (e.empty()) throw Error("nothing to plot on the log axis '" + axis.label + "': no positive value");
  if (e.lo == e.hi) {
    e.lo /= 2;
    e.hi *= 2;
  }
  const auto [lo, hi] = logRange(e.lo, e.hi);
  AxisScale s;
  s.scale = Scale::Log;
  s.lo = axis.min && *axis.min > 0 ? *axis.min : lo;
  s.hi = axis.max && *axis.max > 0 ? *axis.max : hi;
  s.ticks = logTicks(s.lo, s.hi);
  return s;
}

AxisScale linearScale(const Axis& axis, const std::vector<double>& values, double room) {
  Extent e = extentOf(values, false);
  if (axis.fromZero && !e.empty()) {
    e.lo = std::min(e.lo, 0.0);
    e.hi = std::max(e.hi, 0.0);
  }
  if (axis.min) e.lo = *axis.min;
  if (axis.max) e.hi = *axis.max;
  if (e.empty()) throw Error("nothing to plot on the axis '" + axis.label + "': no finite value");
  if (e.lo == e.hi) {
    const double half = e.lo == 0 ? 1.0 : std::fabs(e.lo) / 2;
    e.lo -= e.lo == 0 && axis.fromZero ? 0 : half;
    e.hi += half;
  }
  const int count = std::max(3, static_cast<int>(room / kPxPerLinearTick));
  const auto [lo, hi] = linearRange(e.lo, e.hi, count);
  AxisScale s;
  s.lo = axis.min ? *axis.min : lo;
  s.hi = axis.max ? *axis.max : hi;
  s.ticks = linearTicks(s.lo, s.hi, count);
  return s;
}

}  // namespace

bool AxisScale::shows(double value) const {
  return std::isfinite(value) && (scale == Scale::Linear || value > 0);
}

double AxisScale::share(double value) const {
  if (scale == Scale::Log) return std::log10(value / lo) / std::log10(hi / lo);
  return (value - lo) / (hi - lo);
}

Point Frame::at(double xValue, double yValue) const {
  const auto clamped = [](double v) { return std::clamp(v, -1e5, 1e5); };
  return {clamped(area.left + x.share(xValue) * area.width),
          clamped(area.bottom() - y.share(yValue) * area.height)};
}

AxisScale scaleFor(const Axis& axis, const std::vector<double>& values, double room) {
  return axis.scale == Scale::Log ? logScale(axis, values) : linearScale(axis, values, room);
}

}  // namespace cli::plot
