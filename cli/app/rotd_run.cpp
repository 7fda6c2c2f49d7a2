// RotD spectra of the program.
#include "cli/app/rotd_run.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "cli/app/error.h"
#include "cli/app/history_run.h"
#include "cli/app/module_call.h"
#include "cli/writers/atomic_file.h"
#include "cli/writers/figure_writer.h"
#include "cli/writers/labels.h"
#include "cli/writers/measure_plots.h"
#include "cli/writers/spectrum_plot.h"
#include "core/numerics/magnitude.h"
#include "records/numbers.h"
#include "records/units.h"

namespace cli {

namespace {

using core::Quantity;
using measures::RotDSpectra;

std::string percentileName(double p) {
  return p == std::floor(p) && p < 10 ? fmt::format("RotD0{:g}", p) : fmt::format("RotD{:g}", p);
}

// Values of an nT × nZeta block (period i, damping j at i + j·nT) at damping j, from offset,
// in an output unit.
std::vector<double> blockColumn(const std::vector<double>& values, std::size_t nT, std::size_t j,
                                const QuantityUnit& unit, std::size_t offset = 0) {
  const auto first = values.begin() + static_cast<std::ptrdiff_t>(offset + j * nT);
  return converted(std::vector<double>(first, first + static_cast<std::ptrdiff_t>(nT)), unit);
}

std::vector<double> rotdColumn(const RotDSpectra& s, const std::vector<double>& values,
                               std::size_t p, std::size_t j, const QuantityUnit& unit) {
  return blockColumn(values, s.periods.size(), j, unit, s.rotDIndex(p, 0, 0));
}

const QuantityUnit kDegrees{"deg", "°", 1.0};

std::size_t percentileIndex(const RotDSpectra& s, double wanted, std::size_t otherwise) {
  const auto at = std::find(s.percentiles.begin(), s.percentiles.end(), wanted);
  return at == s.percentiles.end() ? otherwise
                                   : static_cast<std::size_t>(at - s.percentiles.begin());
}

// The record's Sa in g: RotDnn and the geometric mean per damping ratio; suites and scaling take
// RotD50 (RotD100 under --rule asce7, the maximum direction of ASCE 7-16 §16.2).
SaSpectrum saOf(const RotDSpectra& s, const std::string& analysisUnit, const Request& request,
                const std::string& name) {
  const QuantityUnit toG{
      "g", "g",
      records::conversionFactor(records::findUnit(analysisUnit), records::findUnit("g"), 1.0)};
  SaSpectrum sa;
  sa.name = name;
  sa.periods = s.periods;
  sa.measure = "pseudo-spectral acceleration Sa";
  const std::size_t perDamping = s.percentiles.size() + 1;
  for (std::size_t j = 0; j < s.dampingRatios.size(); ++j) {
    const std::string z = fmt::format(", ζ = {:g} %", 100 * s.dampingRatios[j]);
    for (std::size_t p = 0; p < s.percentiles.size(); ++p) {
      sa.labels.push_back(percentileName(s.percentiles[p]) + z);
      sa.curves.push_back(rotdColumn(s, s.psa, p, j, toG));
    }
    sa.labels.push_back("geometric mean" + z);
    sa.curves.push_back(blockColumn(s.geoMeanPsa, s.periods.size(), j, toG));
  }
  const bool maximumDirection = request.measures.rule == "asce7";
  const double wanted = maximumDirection ? 100.0 : 50.0;
  const std::size_t p = percentileIndex(s, wanted, 0);
  if (s.percentiles[p] != wanted && (request.measures.suiteStats || request.measures.scaleToTarget))
    throw Error(fmt::format("--percentiles: suites and scaling take RotD{:g}{}: add {:g}", wanted,
                            maximumDirection ? " (the maximum direction of ASCE 7-16)" : "",
                            wanted));
  const std::optional<Target> target =
      request.measures.target.empty() ? std::nullopt
                                      : std::optional<Target>(parseTarget(request.measures.target));
  sa.chosen = chosenCurve(s.dampingRatios, target, perDamping, p);
  return sa;
}

nlohmann::ordered_json documentOf(const RotDSpectra& s, const OutputUnits& u,
                                  const std::string& source) {
  return {{"measure",
           "RotDnn (Boore 2010), geometric mean and GMRotI50 of two horizontal "
           "components"},
          {"source", source},
          {"percentiles", s.percentiles},
          {"angleStep", s.angles.size() > 1 ? s.angles[1] - s.angles[0] : 180.0},
          {"angles", s.angles.size()},
          {"units",
           {{"acceleration", u.of(Quantity::Acceleration).name},
            {"velocity", u.of(Quantity::Velocity).name},
            {"displacement", u.of(Quantity::Displacement).name}}}};
}

HistorySource historySource(const ItemContext& item, const RotDSpectra& s,
                            const std::vector<std::vector<double>>& components) {
  HistorySource source;
  source.call = moduleCallOf(item.parameters, components, item.records.front().dt, s.periods);
  source.call.method = "recform";
  HistoryDescription& d = source.description;
  d.module = "Daskent";
  d.measure = "elastic response to both components";
  d.source = sourceOf(item.records, true);
  d.title = sourceOf(item.records, false);
  d.subtitle = recordDescription(infosOf(item.records));
  d.swept = "zeta";
  d.units = item.parameters.units;
  return source;
}

}  // namespace

measures::RotDSettings rotdSettings(const Request& request, const Parameters& parameters) {
  if (parameters.method == "newmark")
    throw Error("--rotd: RotD spectra use the exact recurrence; leave out --method newmark");
  measures::RotDSettings settings;
  settings.percentiles = records::parseList(request.measures.percentiles, "--percentiles");
  for (double p : settings.percentiles)
    if (!(p >= 0 && p <= 100))
      throw Error(
          fmt::format("--percentiles: each must lie from 0 to 100, got {}", records::roundTrip(p)));
  settings.angleStepDegrees = request.measures.angleStep;
  if (!(settings.angleStepDegrees >= 0.001 && settings.angleStepDegrees <= 90))
    throw Error(fmt::format("--angle-step: give a step from 0.001 to 90 degrees, got {}",
                            records::roundTrip(settings.angleStepDegrees)));
  return settings;
}

DataTable rotdTable(const RotDSpectra& s, const OutputUnits& u, bool brief) {
  const QuantityUnit &d = u.of(Quantity::Displacement), &v = u.of(Quantity::Velocity),
                     &a = u.of(Quantity::Acceleration);
  DataTable table{{{"period T", "s", s.periods}}};
  const std::size_t nT = s.periods.size();
  for (std::size_t j = 0; j < s.dampingRatios.size(); ++j) {
    const std::string z = " " + dampingTag(s.dampingRatios[j]);
    for (std::size_t p = 0; p < s.percentiles.size(); ++p) {
      const std::string name = percentileName(s.percentiles[p]);
      if (!brief) table.columns.push_back({"Sd " + name + z, d.name, rotdColumn(s, s.sd, p, j, d)});
      if (!brief)
        table.columns.push_back({"PSV " + name + z, v.name, rotdColumn(s, s.psv, p, j, v)});
      table.columns.push_back({"PSA " + name + z, a.name, rotdColumn(s, s.psa, p, j, a)});
    }
    table.columns.push_back(
        {"PSA geometric mean" + z, a.name, blockColumn(s.geoMeanPsa, nT, j, a)});
    if (brief) continue;
    table.columns.push_back(
        {"angle of RotD00" + z, "deg", blockColumn(s.angleRotD00, nT, j, kDegrees)});
    table.columns.push_back(
        {"angle of RotD100" + z, "deg", blockColumn(s.angleRotD100, nT, j, kDegrees)});
    table.columns.push_back({"Sd geometric mean" + z, d.name, blockColumn(s.geoMeanSd, nT, j, d)});
    table.columns.push_back(
        {"PSV geometric mean" + z, v.name, blockColumn(s.geoMeanPsv, nT, j, v)});
    table.columns.push_back({"Sd GMRotI50" + z, d.name, blockColumn(s.gmRotI50Sd, nT, j, d)});
    table.columns.push_back({"PSV GMRotI50" + z, v.name, blockColumn(s.gmRotI50Psv, nT, j, v)});
    table.columns.push_back({"PSA GMRotI50" + z, a.name, blockColumn(s.gmRotI50Psa, nT, j, a)});
    table.columns.push_back({"Sd GMRotD50" + z, d.name, blockColumn(s.gmRotD50Sd, nT, j, d)});
  }
  return table;
}

plot::Figure rotdFigure(const RotDSpectra& s, const OutputUnits& u, const std::string& title,
                        const std::string& subtitle, const std::string& axes) {
  const AxisScales scales = axisScales(axes);
  const QuantityUnit& a = u.of(Quantity::Acceleration);
  plot::Figure figure;
  figure.title = title;
  figure.subtitle = subtitle;
  for (std::size_t j = 0; j < s.dampingRatios.size(); ++j) {
    plot::Panel panel;
    panel.title = fmt::format("ζ = {} %", shortNumber(100 * s.dampingRatios[j]));
    panel.x = periodAxis(s.periods, scales.x);
    panel.y = valueAxis("Pseudo-spectral acceleration Sa [" + a.display + "]", scales.y);
    for (std::size_t p = 0; p < s.percentiles.size(); ++p) {
      plot::Series curve = periodSeries(s.periods, rotdColumn(s, s.psa, p, j, a),
                                        percentileName(s.percentiles[p]), scales.x);
      curve.colour = static_cast<int>(p);
      panel.series.push_back(curve);
    }
    plot::Series mean = periodSeries(s.periods, blockColumn(s.geoMeanPsa, s.periods.size(), j, a),
                                     "geometric mean of the components", scales.x);
    mean.colour = 8;
    mean.dash = plot::Dash::Dashed;
    panel.series.push_back(mean);
    panel.legend = j == 0;  // the same curves in every panel
    figure.panels.push_back(panel);
  }
  return figure;
}

void runRotd(const ItemContext& item, ItemResult& result) {
  const Request& request = item.request;
  const Parameters& p = item.parameters;
  requireSameStep(item.records);
  const std::vector<std::vector<double>> components = analysedComponents(request, p, item.records);
  const OutputUnits& units = p.units;
  const QuantityUnit& acc = units.of(Quantity::Acceleration);
  const std::string source = sourceOf(item.records, true);
  RotDSpectra s;
  try {
    s = measures::rotdSpectra(components.at(0), components.at(1), item.records.front().dt,
                              periodList(p.periods), p.swept, rotdSettings(request, p));
  } catch (const std::invalid_argument& error) {
    throw Error(source + ": " + error.what());
  }
  const ItemHistories histories(
      item, [&] { return historySource(item, s, components); }, result);
  const std::int32_t n =
      static_cast<std::int32_t>(std::min(components[0].size(), components[1].size()));
  const double pga = core::peakMagnitude(components[0].data(), components[1].data(), n);
  if (item.single && !request.output.quiet)
    result.report +=
        fmt::format(
            "RotD spectra (Boore 2010) of {}, {} angles from 0° by {:g}°: peak "
            "resultant ground acceleration {:.6g} {}\n",
            source, s.angles.size(), request.measures.angleStep, pga * acc.factor, acc.name) +
        terminalOf(rotdTable(s, units, true));
  if (!item.outputs.data.empty()) {
    writeFileAtomically(
        item.outputs.data,
        dataFileText(item.outputs.data, documentOf(s, units, source), rotdTable(s, units, false)));
    result.written.push_back(item.outputs.data);
  }
  result.sa = saOf(s, p.analysis.acceleration, request, sourceOf(item.records, false));
  if (!item.outputs.plot.empty() && request.measures.target.empty()) {
    plot::writeFigure(rotdFigure(s, units, "RotD spectra — " + sourceOf(item.records, false),
                                 recordDescription(infosOf(item.records)), request.output.axes),
                      item.outputs.plot);
    result.written.push_back(item.outputs.plot);
  }
  histories.write(result);
}

}  // namespace cli
