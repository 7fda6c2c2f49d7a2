// Spectrum figures from the generic plot description (plot.h).
#include "cli/writers/spectrum_plot.h"

#include <algorithm>

#include "cli/app/error.h"
#include "cli/writers/figure_writer.h"
#include "cli/writers/labels.h"
#include "cli/writers/period_gaps.h"

namespace cli {

namespace {

constexpr std::size_t kMarkersUpTo = 30;  // periods; denser curves read better as plain lines

struct Axes {
  plot::Scale x = plot::Scale::Linear, y = plot::Scale::Linear;
};

Axes axesOf(const std::string& name) {
  using S = plot::Scale;
  if (name == "lin") return {};
  if (name == "logx") return {S::Log, S::Linear};
  if (name == "logy") return {S::Linear, S::Log};
  if (name == "loglog") return {S::Log, S::Log};
  throw Error("--axes: unknown '" + name + "' (known: lin, logx, logy, loglog)");
}

constexpr double kPeriodsFromZeroBelow = 0.25;  // shortest over longest period

plot::Axis axis(const std::string& label, plot::Scale scale, bool fromZero) {
  plot::Axis a;
  a.label = label;
  a.scale = scale;
  a.fromZero = fromZero && scale == plot::Scale::Linear;
  return a;
}

// A linear period axis starts at zero unless the periods lie far from it.
bool periodsFromZero(const std::vector<double>& periods) {
  if (periods.empty()) return true;
  const auto [shortest, longest] = std::minmax_element(periods.begin(), periods.end());
  return *shortest <= kPeriodsFromZeroBelow * *longest;
}

std::string fieldAxisLabel(const Spectrum& spectrum, const std::string& field) {
  // In g, the yield strength per unit mass is the yield-strength coefficient fy/W.
  if (field == "psdYieldAcc" && spectrum.units.of(core::Quantity::Acceleration).name == "g")
    return "Yield-strength coefficient Cy = fy/W";
  return axisLabel(field, spectrum.units);
}

std::vector<plot::Series> curvesOf(const Spectrum& spectrum, const std::string& field,
                                   bool logPeriods) {
  std::vector<plot::Series> series;
  const std::vector<double>& periods = spectrum.periods();
  for (std::size_t j = 0; j < spectrum.sweptValues().size(); ++j) {
    const plot::Curve curve = plot::curveOverPeriods(periods, spectrum.column(field, j), logPeriods);
    plot::Series s;
    s.x = curve.x;
    s.y = curve.y;
    s.label = spectrum.sweptLabel(j);
    s.markers = periods.size() <= kMarkersUpTo;
    series.push_back(std::move(s));
  }
  return series;
}

plot::Panel fieldPanel(const Spectrum& spectrum, const std::string& field, Axes axes) {
  plot::Panel panel;
  panel.x = axis(periodAxisLabel(), axes.x, periodsFromZero(spectrum.periods()));
  panel.y = axis(fieldAxisLabel(spectrum, field), axes.y, true);
  panel.series = curvesOf(spectrum, field, axes.x == plot::Scale::Log);
  return panel;
}

plot::Panel tripartitePanel(const Spectrum& spectrum) {
  plot::Panel panel = fieldPanel(spectrum, "psdVel", {plot::Scale::Log, plot::Scale::Log});
  const OutputUnits& u = spectrum.units;
  const QuantityUnit& v = u.of(core::Quantity::Velocity);
  const QuantityUnit& d = u.of(core::Quantity::Displacement);
  const QuantityUnit& a = u.of(core::Quantity::Acceleration);
  panel.tripartite = plot::Tripartite{d.display, a.display, v.factor / d.factor,
                                      v.factor / a.factor};
  return panel;
}

std::string subtitleOf(const Spectrum& spectrum) {
  std::string text = recordDescription(spectrum.infos);
  if (!spectrum.setting.empty()) text += (text.empty() ? "" : " · ") + spectrum.setting;
  return text;
}

}  // namespace

std::string recordDescription(const std::vector<records::RecordInfo>& infos) {
  if (infos.empty()) return "";
  std::vector<std::string> parts;
  if (!infos.front().event.empty()) parts.push_back(infos.front().event);
  if (!infos.front().station.empty()) parts.push_back(infos.front().station);
  std::string components;
  for (const records::RecordInfo& info : infos)
    if (!info.component.empty()) components += (components.empty() ? "" : " and ") + info.component;
  if (!components.empty())
    parts.push_back((infos.size() > 1 ? "components " : "component ") + components);
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : " · ") + part;
  return text;
}

std::string measureName(const ModuleSpec& module) {
  const std::string& c = module.command;
  const std::string pair = module.components == 2 ? " of two components" : "";
  if (c.rfind("elastic", 0) == 0) return "Elastic response spectrum" + pair;
  if (c == "inelastic") return "Inelastic response spectrum";
  if (c.rfind("fps", 0) == 0) return "Friction-pendulum isolator spectrum" + pair;
  if (c.rfind("lrb", 0) == 0) return "Lead-rubber-bearing isolator spectrum" + pair;
  return module.summary;
}

plot::Figure spectrumFigure(const Spectrum& spectrum, const SpectrumPlotRequest& request) {
  plot::Figure figure;
  figure.title = measureName(*spectrum.module) + " — " + spectrum.title;
  figure.subtitle = subtitleOf(spectrum);
  if (request.tripartite) {
    figure.panels.push_back(tripartitePanel(spectrum));
    figure.panelHeight = 560;
    return figure;
  }
  const Axes axes = axesOf(request.axes);
  const std::vector<std::string>& fields =
      request.fields.empty() ? spectrum.module->plotFields : request.fields;
  for (const std::string& field : fields) {
    figure.panels.push_back(fieldPanel(spectrum, field, axes));
    figure.panels.back().legend = figure.panels.size() == 1;  // the same curves in every panel
  }
  return figure;
}

void writeSpectrumPlot(const Spectrum& spectrum, const SpectrumPlotRequest& request,
                       const std::string& path) {
  plot::writeFigure(spectrumFigure(spectrum, request), path);
}

void checkPlotRequest(const std::string& axes, const std::string& path) {
  axesOf(axes);
  plot::checkFigurePath(path);
}

}  // namespace cli
