// Tables, documents and plots of response histories, in the output units.
#include "cli/writers/history_writer.h"

#include <fmt/format.h>

#include "cli/writers/labels.h"
#include "core/numerics/magnitude.h"
#include "core/numerics/peaks.h"

namespace cli {

namespace {

using core::Quantity;
using measures::ComponentHistory;
using measures::ResponseHistory;

constexpr int kGroundColour = 8;  // grey in the palette

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

// One series of one component in the output unit of its quantity (forces × the force scale).
std::vector<double> outputOf(const ResponseHistory& h, std::size_t c,
                             std::vector<double> ComponentHistory::*series,
                             const HistoryDescription& d, Quantity quantity) {
  std::vector<double> values = h.components[c].*series;
  if (quantity == Quantity::Force && d.forceScale != 1.0)
    for (double& v : values) v *= d.forceScale;
  return converted(std::move(values), d.units.of(quantity));
}

// Peak of |x| over one component, or of the resultant of two, in the output unit. Scaling by a
// positive factor commutes with the peak, so this is the module's peak converted.
double peakOf(const ResponseHistory& h, std::vector<double> ComponentHistory::*series,
              const HistoryDescription& d, Quantity quantity) {
  const auto n = static_cast<std::int32_t>(h.samples());
  const std::vector<double> a = outputOf(h, 0, series, d, quantity);
  if (h.components.size() == 1) return core::peakAbs(a.data(), n);
  const std::vector<double> b = outputOf(h, 1, series, d, quantity);
  return core::peakMagnitude(a.data(), b.data(), n);
}

std::string componentSuffix(const ResponseHistory& h, std::size_t c) {
  return h.components.size() == 1 ? "" : std::to_string(c + 1);
}

std::string nameOf(const QuantityUnit& unit) { return unit.name.empty() ? "-" : unit.name; }

plot::Axis timeAxis() {
  plot::Axis axis;
  axis.label = "Time t [s]";
  axis.fromZero = true;
  return axis;
}

plot::Axis linear(const std::string& label) {
  plot::Axis axis;
  axis.label = label;
  return axis;
}

plot::Series line(std::vector<double> x, std::vector<double> y, std::string label, int colour,
                  plot::Dash dash = plot::Dash::Solid, double width = 1.4) {
  plot::Series s;
  s.x = std::move(x);
  s.y = std::move(y);
  s.label = std::move(label);
  s.colour = colour;
  s.dash = dash;
  s.width = width;
  return s;
}

}  // namespace

std::string sweptText(const std::string& swept, double value, const OutputUnits& units) {
  return sweptLabel(swept, value * units.ofField(swept).factor, units);
}

double peakDisplacement(const ResponseHistory& h, const OutputUnits& units) {
  HistoryDescription d;
  d.units = units;
  return peakOf(h, &ComponentHistory::displacement, d, Quantity::Displacement);
}

DataTable historyTable(const ResponseHistory& h, const HistoryDescription& d) {
  const OutputUnits& u = d.units;
  const QuantityUnit& acc = u.of(Quantity::Acceleration);
  DataTable table;
  table.columns.push_back({"time t", "s", timesOf(h)});
  for (std::size_t c = 0; c < h.components.size(); ++c) {
    const std::string k = componentSuffix(h, c);
    table.columns.push_back({"ground acceleration ag" + k, nameOf(acc),
                             converted(groundOf(h, *d.ground.at(c)), acc)});
    table.columns.push_back({"displacement u" + k, nameOf(u.of(Quantity::Displacement)),
                             outputOf(h, c, &ComponentHistory::displacement, d,
                                      Quantity::Displacement)});
    table.columns.push_back({"velocity v" + k, nameOf(u.of(Quantity::Velocity)),
                             outputOf(h, c, &ComponentHistory::velocity, d, Quantity::Velocity)});
    table.columns.push_back(
        {"relative acceleration a" + k, nameOf(acc),
         outputOf(h, c, &ComponentHistory::acceleration, d, Quantity::Acceleration)});
    table.columns.push_back(
        {"total acceleration a" + k + "+ag" + k, nameOf(acc),
         outputOf(h, c, &ComponentHistory::totalAcceleration, d, Quantity::Acceleration)});
    table.columns.push_back(
        {"restoring force fs" + k, nameOf(u.of(Quantity::Force)),
         outputOf(h, c, &ComponentHistory::restoringForce, d, Quantity::Force)});
  }
  return table;
}

nlohmann::ordered_json historyDocument(const ResponseHistory& h, const HistoryDescription& d) {
  using C = ComponentHistory;
  const OutputUnits& u = d.units;
  nlohmann::ordered_json doc = {
      {"module", d.module},
      {"measure", d.measure},
      {"source", d.source},
      {"period", h.period},
      {d.swept, h.sweptValue * u.ofField(d.swept).factor},
      {"dt", h.dt},
      {"samples", h.samples()},
      {"recordSamples", h.recordSamples},
      {"ownCall", h.ownCall},
      {"units",
       {{"acceleration", u.of(Quantity::Acceleration).name},
        {"velocity", u.of(Quantity::Velocity).name},
        {"displacement", u.of(Quantity::Displacement).name},
        {"force", u.of(Quantity::Force).name}}},
      {"peaks",
       {{"dsp", jsonNumber(peakOf(h, &C::displacement, d, Quantity::Displacement))},
        {"vel", jsonNumber(peakOf(h, &C::velocity, d, Quantity::Velocity))},
        {"acc", jsonNumber(peakOf(h, &C::acceleration, d, Quantity::Acceleration))},
        {"totAcc", jsonNumber(peakOf(h, &C::totalAcceleration, d, Quantity::Acceleration))},
        {"rFrc", jsonNumber(peakOf(h, &C::restoringForce, d, Quantity::Force))}}}};
  if (!std::isnan(h.yieldForce))
    doc["yieldFrc"] =
        jsonNumber(h.yieldForce * d.forceScale * u.of(Quantity::Force).factor);
  return doc;
}

plot::Figure historyFigure(const ResponseHistory& h, const HistoryDescription& d) {
  const OutputUnits& u = d.units;
  const QuantityUnit& acc = u.of(Quantity::Acceleration);
  const QuantityUnit& length = u.of(Quantity::Displacement);
  const QuantityUnit& force = u.of(Quantity::Force);
  const std::vector<double> t = timesOf(h);
  plot::Figure figure;
  figure.title = fmt::format("Response history, {}: T = {} s, {} — {}", d.measure,
                             shortNumber(h.period, 6), sweptText(d.swept, h.sweptValue, u),
                             d.title);
  figure.subtitle = d.subtitle;
  plot::Panel displacement, acceleration, loop;
  displacement.x = acceleration.x = timeAxis();
  displacement.y = linear("Displacement u [" + length.display + "]");
  acceleration.y = linear("Acceleration [" + acc.display + "]");
  loop.x = linear("Displacement u [" + length.display + "]");
  loop.y = linear("Restoring force fs [" + force.display + "]");
  loop.title = "Restoring force against displacement";
  const bool two = h.components.size() == 2;
  for (std::size_t c = 0; c < h.components.size(); ++c) {
    const std::string k = componentSuffix(h, c);
    const int colour = static_cast<int>(c);
    const std::vector<double> u1 =
        outputOf(h, c, &ComponentHistory::displacement, d, Quantity::Displacement);
    displacement.series.push_back(line(t, u1, two ? "u" + k : "", colour));
    acceleration.series.push_back(line(t, converted(groundOf(h, *d.ground.at(c)), acc),
                                       "ground ag" + k, two ? colour : kGroundColour,
                                       two ? plot::Dash::Dotted : plot::Dash::Solid, 1.0));
    acceleration.series.push_back(
        line(t, outputOf(h, c, &ComponentHistory::totalAcceleration, d, Quantity::Acceleration),
             "total a" + k + "+ag" + k, colour));
    loop.series.push_back(
        line(u1, outputOf(h, c, &ComponentHistory::restoringForce, d, Quantity::Force),
             two ? "fs" + k : "", colour));
  }
  displacement.legend = two;
  loop.legend = two;
  figure.panels = {displacement, acceleration};
  if (d.nonlinear) figure.panels.push_back(loop);
  figure.panelHeight = 300;
  return figure;
}

}  // namespace cli
