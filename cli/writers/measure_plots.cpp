// Axes and curves of the measures' figures.
#include "cli/writers/measure_plots.h"

#include <algorithm>

#include "cli/writers/labels.h"
#include "cli/writers/period_gaps.h"

namespace cli {

namespace {

constexpr double kPeriodsFromZeroBelow = 0.25;  // shortest over longest period, as the spectra
constexpr std::size_t kMarkersUpTo = 30;       // periods; denser curves read better as lines

}  // namespace

AxisScales axisScales(const std::string& axes) {
  using S = plot::Scale;
  if (axes == "logx") return {S::Log, S::Linear};
  if (axes == "logy") return {S::Linear, S::Log};
  if (axes == "loglog") return {S::Log, S::Log};
  return {};
}

plot::Axis periodAxis(const std::vector<double>& periods, plot::Scale scale) {
  plot::Axis axis;
  axis.label = periodAxisLabel();
  axis.scale = scale;
  if (periods.empty()) return axis;
  const auto [shortest, longest] = std::minmax_element(periods.begin(), periods.end());
  axis.fromZero = scale == plot::Scale::Linear && *shortest <= kPeriodsFromZeroBelow * *longest;
  if (!axis.fromZero) axis.min = *shortest;
  axis.max = *longest;
  return axis;
}

plot::Axis valueAxis(const std::string& label, plot::Scale scale) {
  plot::Axis axis;
  axis.label = label;
  axis.scale = scale;
  axis.fromZero = scale == plot::Scale::Linear;
  return axis;
}

plot::Series periodSeries(const std::vector<double>& periods, const std::vector<double>& values,
                          const std::string& label, plot::Scale periodScale) {
  const plot::Curve curve =
      plot::curveOverPeriods(periods, values, periodScale == plot::Scale::Log);
  plot::Series series;
  series.x = curve.x;
  series.y = curve.y;
  series.label = label;
  series.markers = periods.size() <= kMarkersUpTo;
  return series;
}

}  // namespace cli
