// Constant-ductility spectra of the program: computation at unit mass, the engineer's quantities,
// files, plot and histories.
#include "cli/app/ductility_run.h"

#include <fmt/format.h>

#include <cmath>
#include <limits>
#include <stdexcept>

#include "cli/app/error.h"
#include "cli/app/history_run.h"
#include "cli/app/module_call.h"
#include "cli/writers/atomic_file.h"
#include "cli/writers/figure_writer.h"
#include "cli/writers/labels.h"
#include "cli/writers/measure_plots.h"
#include "cli/writers/spectrum_plot.h"
#include "core/numerics/peaks.h"
#include "records/numbers.h"
#include "records/units.h"

namespace cli {

namespace {

std::vector<double> valuesOf(const DuctilityRun& run, std::size_t j,
                             double (*of)(const DuctilityRun&, const measures::DuctilityPoint&)) {
  std::vector<double> values;
  for (std::size_t i = 0; i < run.periods.size(); ++i)
    values.push_back(
        of(run, run.spectrum.at(static_cast<std::int32_t>(i), static_cast<std::int32_t>(j))));
  return values;
}

// The quantities of a point; strengths come at unit mass and scale with the mass.
double yieldStrength(const DuctilityRun& r, const measures::DuctilityPoint& p) {
  return (r.mass * p.yieldStrength) * r.units.of(core::Quantity::Force).factor;
}
double strengthCoefficient(const DuctilityRun& r, const measures::DuctilityPoint& p) {
  return p.yieldStrength / r.gravity;
}
double yieldAcceleration(const DuctilityRun& r, const measures::DuctilityPoint& p) {
  return p.yieldStrength * r.units.of(core::Quantity::Acceleration).factor;
}
double reductionFactor(const DuctilityRun&, const measures::DuctilityPoint& p) {
  return p.reductionFactor;
}
double ductility(const DuctilityRun&, const measures::DuctilityPoint& p) { return p.ductility; }
double peakDisplacement(const DuctilityRun& r, const measures::DuctilityPoint& p) {
  return p.peakDisplacement * r.units.of(core::Quantity::Displacement).factor;
}
double yieldDisplacement(const DuctilityRun& r, const measures::DuctilityPoint& p) {
  return p.yieldDisplacement * r.units.of(core::Quantity::Displacement).factor;
}

std::string headerOf(const DuctilityRun& run, const std::string& source, double pga) {
  const QuantityUnit& acc = run.units.of(core::Quantity::Acceleration);
  return fmt::format(
      "constant-ductility spectrum, μ = {:g}, largest yield strength reaching it (inelastic "
      "module's analysis), {}: pga = {:.6g} {}\n",
      run.targetDuctility, source, pga * acc.factor, acc.name);
}

nlohmann::ordered_json documentOf(const DuctilityRun& run, const Parameters& p,
                                  const std::string& source) {
  nlohmann::ordered_json warnings = nlohmann::ordered_json::array();
  for (const std::string& w : run.spectrum.warnings) warnings.push_back(w);
  return {{"measure", "constant-ductility spectrum by the largest-strength rule"},
          {"module", "Morbane"},
          {"source", source},
          {"targetDuctility", run.targetDuctility},
          {"kin", p.kin},
          {"iso", p.iso},
          {"mass", run.mass},
          {"units",
           {{"acceleration", run.units.of(core::Quantity::Acceleration).name},
            {"displacement", run.units.of(core::Quantity::Displacement).name},
            {"force", run.units.of(core::Quantity::Force).name}}},
          {"warnings", warnings}};
}

HistorySource historySource(const ItemContext& item, const DuctilityRun& run,
                            const std::vector<std::vector<double>>& components) {
  HistorySource source;
  source.call = moduleCallOf(item.parameters, components, item.records.front().dt, run.periods);
  source.call.mass = 1.0;  // the spectrum's analyses run at unit mass
  for (const measures::DuctilityPoint& point : run.spectrum.points)
    source.yieldForces.push_back(point.yieldStrength);
  const std::vector<double>& ag = source.call.ag1;
  const double dt = source.call.dt;
  const measures::DuctilityOscillators all{run.periods, run.dampingRatios, 1.0, item.parameters.kin,
                                           item.parameters.iso};
  const double target = run.targetDuctility;
  source.ownYieldForce = [ag, dt, all, target](double period, double zeta) {
    measures::DuctilityOscillators one = all;
    one.periods = {period};
    one.dampingRatios = {zeta};
    const measures::ConstantDuctilitySpectrum s =
        measures::constantDuctilitySpectrum(ag, dt, one, target);
    if (s.at(0, 0).status != measures::DuctilityStatus::Reached)
      throw NoHistory("--history: " + s.warnings.front());
    return s.at(0, 0).yieldStrength;
  };
  HistoryDescription& d = source.description;
  d.module = "Morbane";
  d.measure = fmt::format("constant ductility μ = {:g}", target);
  d.source = sourceOf(item.records, true);
  d.title = sourceOf(item.records, false);
  d.subtitle = recordDescription(infosOf(item.records));
  d.swept = "zeta";
  d.units = run.units;
  d.forceScale = run.mass;
  d.nonlinear = true;
  return source;
}

}  // namespace

DataTable ductilityTable(const DuctilityRun& run, bool brief) {
  using core::Quantity;
  const OutputUnits& u = run.units;
  DataTable table{{{"period T", "s", run.periods}}};
  for (std::size_t j = 0; j < run.dampingRatios.size(); ++j) {
    const std::string z = " " + dampingTag(run.dampingRatios[j]);
    if (!brief)
      table.columns.push_back(
          {"yield strength fy" + z, u.of(Quantity::Force).name, valuesOf(run, j, yieldStrength)});
    table.columns.push_back({"Cy=fy/(m·g)" + z, "-", valuesOf(run, j, strengthCoefficient)});
    if (!brief)
      table.columns.push_back(
          {"Ay=fy/m" + z, u.of(Quantity::Acceleration).name, valuesOf(run, j, yieldAcceleration)});
    table.columns.push_back({"R" + z, "-", valuesOf(run, j, reductionFactor)});
    table.columns.push_back({"μ reached" + z, "-", valuesOf(run, j, ductility)});
    table.columns.push_back(
        {"u_max" + z, u.of(Quantity::Displacement).name, valuesOf(run, j, peakDisplacement)});
    if (!brief)
      table.columns.push_back(
          {"u_y" + z, u.of(Quantity::Displacement).name, valuesOf(run, j, yieldDisplacement)});
  }
  return table;
}

plot::Figure ductilityFigure(const DuctilityRun& run, const std::string& title,
                             const std::string& subtitle, const std::string& axes) {
  const AxisScales scales = axisScales(axes);
  plot::Panel strength, reduction;
  strength.x = reduction.x = periodAxis(run.periods, scales.x);
  strength.y = valueAxis("Yield-strength coefficient Cy = fy/(m·g)", scales.y);
  reduction.y = valueAxis("Strength reduction factor R = F_el/fy", scales.y);
  for (std::size_t j = 0; j < run.dampingRatios.size(); ++j) {
    const std::string label = fmt::format("ζ = {} %", shortNumber(100 * run.dampingRatios[j]));
    strength.series.push_back(
        periodSeries(run.periods, valuesOf(run, j, strengthCoefficient), label, scales.x));
    reduction.series.push_back(
        periodSeries(run.periods, valuesOf(run, j, reductionFactor), label, scales.x));
  }
  reduction.legend = false;  // the same curves as above
  plot::Figure figure;
  figure.title = title;
  figure.subtitle = subtitle;
  figure.panels = {strength, reduction};
  return figure;
}

void runDuctility(const ItemContext& item, ItemResult& result) {
  const Parameters& p = item.parameters;
  const std::vector<std::vector<double>> components =
      analysedComponents(item.request, p, item.records);
  DuctilityRun run;
  run.periods = periodList(p.periods);
  run.dampingRatios = p.swept;
  run.targetDuctility = p.para;
  run.mass = p.mass;
  run.units = p.units;
  run.gravity = records::gravityIn(records::findUnit(p.analysis.acceleration));
  const std::string source = sourceOf(item.records, true);
  try {
    run.spectrum = measures::constantDuctilitySpectrum(
        components.front(), item.records.front().dt,
        {run.periods, run.dampingRatios, 1.0, p.kin, p.iso}, run.targetDuctility);
  } catch (const std::invalid_argument& error) {
    throw Error(source + ": " + error.what());
  }
  for (const std::string& warning : run.spectrum.warnings)
    result.console += "warning: " + warning + "\n";
  const ItemHistories histories(
      item, [&] { return historySource(item, run, components); }, result);
  const std::vector<double>& ag = components.front();
  const double pga = core::peakGroundAcceleration(ag.data(), static_cast<std::int32_t>(ag.size()));
  if (item.single && !item.request.output.quiet)
    result.report += headerOf(run, source, pga) + terminalOf(ductilityTable(run, true));
  if (!item.outputs.data.empty()) {
    writeFileAtomically(
        item.outputs.data,
        dataFileText(item.outputs.data, documentOf(run, p, source), ductilityTable(run, false)));
    result.written.push_back(item.outputs.data);
  }
  if (!item.outputs.plot.empty()) {
    const std::string title =
        fmt::format("Constant-ductility spectrum, μ = {} — {}", shortNumber(run.targetDuctility),
                    sourceOf(item.records, false));
    plot::writeFigure(ductilityFigure(run, title, recordDescription(infosOf(item.records)),
                                      item.request.output.axes),
                      item.outputs.plot);
    result.written.push_back(item.outputs.plot);
  }
  histories.write(result);
}

}  // namespace cli
