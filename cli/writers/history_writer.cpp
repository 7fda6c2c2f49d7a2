// Tables, documents and plots of response histories.
#include "cli/writers/history_writer.h"

#include <fmt/format.h>

#include "cli/writers/field_units.h"
#include "core/numerics/magnitude.h"
#include "core/numerics/peaks.h"
#include "records/numbers.h"

namespace cli {

namespace {

using measures::ComponentHistory;
using measures::ResponseHistory;

constexpr int kGroundColour = 6;  // grey in the chart palette

std::string forceUnit(const records::Unit& unit) { return fieldUnit("rFrc", unit); }

std::vector<double> timesOf(const ResponseHistory& h) {
  std::vector<double> t(h.samples());
  for (std::size_t s = 0; s < t.size(); ++s) t[s] = static_cast<double>(s) * h.dt;
  return t;
}

// The ground acceleration over the analysis: the record, then the ground at rest.
std::vector<double> groundOf(const ResponseHistory& h, const std::vector<double>& ag) {
  std::vector<double> g(h.samples(), 0.0);
  for (std::size_t s = 0; s < g.size() && s < static_cast<std::size_t>(h.recordSamples); ++s)
    g[s] = ag[s];
  return g;
}

std::vector<double> scaled(std::vector<double> values, double factor) {
  if (factor != 1.0)
    for (double& v : values) v *= factor;
  return values;
}

// Peak of |x| over one component, or of the resultant of two.
double peakOf(const ResponseHistory& h, std::vector<double> ComponentHistory::*series) {
  const auto n = static_cast<std::int32_t>(h.samples());
  if (h.components.size() == 1) return core::peakAbs((h.components[0].*series).data(), n);
  return core::peakMagnitude((h.components[0].*series).data(), (h.components[1].*series).data(),
                             n);
}

std::string componentSuffix(const ResponseHistory& h, std::size_t c) {
  return h.components.size() == 1 ? "" : std::to_string(c + 1);
}

}  // namespace

std::string sweptText(const std::string& swept, double value, const records::Unit& unit) {
  if (swept == "zeta") return fmt::format("ζ = {:g} %", 100.0 * value);
  if (swept == "frn") return fmt::format("μ = {:g}", value);
  return fmt::format("Qd = {:g} {}", value, forceUnit(unit));
}

DataTable historyTable(const ResponseHistory& h, const HistoryDescription& d) {
  const records::Unit& u = d.unit;
  DataTable table;
  table.columns.push_back({"time t", "s", timesOf(h)});
  for (std::size_t c = 0; c < h.components.size(); ++c) {
    const std::string k = componentSuffix(h, c);
    const ComponentHistory& x = h.components[c];
    table.columns.push_back({"ground acceleration ag" + k, u.name, groundOf(h, *d.ground.at(c))});
    table.columns.push_back({"displacement u" + k, u.length, x.displacement});
    table.columns.push_back({"velocity v" + k, u.velocity, x.velocity});
    table.columns.push_back({"relative acceleration a" + k, u.name, x.acceleration});
    table.columns.push_back({"total acceleration a" + k + "+ag" + k, u.name, x.totalAcceleration});
    table.columns.push_back(
        {"restoring force fs" + k, forceUnit(u), scaled(x.restoringForce, d.forceScale)});
  }
  return table;
}

nlohmann::ordered_json historyDocument(const ResponseHistory& h, const HistoryDescription& d) {
  using C = ComponentHistory;
  nlohmann::ordered_json doc = {
      {"module", d.module},
      {"measure", d.measure},
      {"source", d.source},
      {"period", h.period},
      {d.swept, h.sweptValue},
      {"dt", h.dt},
      {"samples", h.samples()},
      {"recordSamples", h.recordSamples},
      {"ownCall", h.ownCall},
      {"units",
       {{"acceleration", d.unit.name},
        {"velocity", d.unit.velocity},
        {"displacement", d.unit.length},
        {"force", forceUnit(d.unit)}}},
      {"peaks",
       {{"dsp", jsonNumber(peakOf(h, &C::displacement))},
        {"vel", jsonNumber(peakOf(h, &C::velocity))},
        {"acc", jsonNumber(peakOf(h, &C::acceleration))},
        {"totAcc", jsonNumber(peakOf(h, &C::totalAcceleration))},
        {"rFrc", jsonNumber(peakOf(h, &C::restoringForce) * d.forceScale)}}}};
  if (!std::isnan(h.yieldForce)) doc["yieldFrc"] = jsonNumber(h.yieldForce * d.forceScale);
  return doc;
}

Chart historyChart(const ResponseHistory& h, const HistoryDescription& d) {
  const records::Unit& u = d.unit;
  const std::vector<double> t = timesOf(h);
  const std::string title =
      fmt::format("{}: T = {:g} s, {}", d.measure, h.period, sweptText(d.swept, h.sweptValue, u));
  Chart chart;
  ChartPanel displacement{title, "time t [s]", "displacement u [" + u.length + "]", false, false,
                          true, {}};
  ChartPanel acceleration{d.title, "time t [s]", "acceleration [" + u.name + "]", false, false,
                          true, {}};
  ChartPanel loop{"", "displacement u [" + u.length + "]",
                  "restoring force fs [" + forceUnit(u) + "]", false, false, true, {}};
  const bool two = h.components.size() == 2;
  for (std::size_t c = 0; c < h.components.size(); ++c) {
    const std::string k = componentSuffix(h, c);
    const ComponentHistory& x = h.components[c];
    const int colour = static_cast<int>(c);
    displacement.curves.push_back({t, x.displacement, two ? "u" + k : "", colour});
    ChartCurve ground{t, groundOf(h, *d.ground.at(c)), "ground ag" + k,
                      two ? colour : kGroundColour, LineStyle::Solid, 1.0};
    if (two) ground.style = LineStyle::Dotted;
    acceleration.curves.push_back(ground);
    acceleration.curves.push_back(
        {t, x.totalAcceleration, "total a" + k + "+ag" + k, colour, LineStyle::Solid, 1.5});
    loop.curves.push_back(
        {x.displacement, scaled(x.restoringForce, d.forceScale), two ? "fs" + k : "", colour});
  }
  chart.panels = {displacement, acceleration};
  if (d.nonlinear) chart.panels.push_back(loop);
  chart.panelHeight = 420;
  return chart;
}

}  // namespace cli
