// One item of a run of the measures: records read and prepared, the module (or a measure)
// computed, outputs, histories and the comparison with a target written.
#include "cli/app/measure_item.h"

#include <fmt/format.h>

#include <cmath>
#include <filesystem>

#include "cli/app/ductility_run.h"
#include "cli/app/error.h"
#include "cli/app/history_run.h"
#include "cli/app/module_call.h"
#include "cli/app/pipeline.h"
#include "cli/app/resampling.h"
#include "cli/app/rotd_run.h"
#include "cli/writers/figure_writer.h"
#include "cli/writers/spectrum_plot.h"
#include "cli/writers/table_writer.h"
#include "records/numbers.h"
#include "records/units.h"

namespace cli {

namespace {

bool isElastic(const ModuleSpec& spec) {
  return spec.command == "elastic" || spec.command == "elastic2d";
}

std::optional<Target> targetOf(const Request& request) {
  if (request.measures.target.empty()) return std::nullopt;
  return parseTarget(request.measures.target);
}

// The elastic module's pseudo-spectral accelerations in g, one curve per damping ratio (from
// the output unit: exact when that is g).
SaSpectrum saOf(const Spectrum& spectrum, const Request& request) {
  const double toG = records::conversionFactor(
      records::findUnit(spectrum.units.of(core::Quantity::Acceleration).name),
      records::findUnit("g"), 1.0);
  SaSpectrum sa;
  sa.name = spectrum.title;
  sa.periods = spectrum.periods();
  sa.measure = spectrum.module->components == 2 ? "pseudo-spectral acceleration Sa of the resultant"
                                                : "pseudo-spectral acceleration Sa";
  const std::vector<double>& zetas = spectrum.sweptValues();
  for (std::size_t j = 0; j < zetas.size(); ++j) {
    std::vector<double> curve = spectrum.column("psdAcc", j);
    for (double& v : curve) v *= toG;
    sa.labels.push_back(spectrum.sweptLabel(j));
    sa.curves.push_back(curve);
  }
  sa.chosen = chosenCurve(zetas, targetOf(request));
  return sa;
}

HistorySource moduleHistorySource(const ItemContext& item, const Spectrum& spectrum) {
  HistorySource source;
  source.call =
      moduleCallOf(item.parameters, analysedComponents(item.request, item.parameters, item.records),
                   item.records.front().dt, spectrum.periods());
  // The spectrum holds the yield forces in the output unit; the analysis needs the module's own.
  if (source.call.module == measures::ModuleKind::Morbane)
    source.yieldForces = measures::morbaneYieldForces(source.call);
  source.weightShares = item.parameters.weightShares;
  HistoryDescription& d = source.description;
  d.module = spectrum.module->name;
  d.measure = spectrum.module->name + " (" + spectrum.module->command + ")";
  d.source = spectrum.source;
  d.title = spectrum.title;
  d.subtitle = recordDescription(spectrum.infos);
  d.swept = spectrum.module->swept;
  d.units = spectrum.units;
  d.nonlinear = !isElastic(*spectrum.module);
  return source;
}

// The module's own run, as without measures, and what the measures add to it.
void runModule(const ItemContext& item, ItemResult& result) {
  const Request& request = item.request;
  const Spectrum spectrum = computeSpectrum(request, item.parameters, item.records, result.console);
  const ItemHistories histories(
      item, [&] { return moduleHistorySource(item, spectrum); }, result);
  if (item.single && !request.output.quiet)
    result.report += tableText(spectrum, chosenFields(*spectrum.module, request.output.fields));
  // With a target the plot compares the record's Sa with it (drawn below) instead.
  const bool comparison = !request.measures.target.empty();
  writeOutputs(spectrum, request, {item.outputs.data, comparison ? "" : item.outputs.plot});
  for (const std::string& path : {item.outputs.data, comparison ? "" : item.outputs.plot})
    if (!path.empty()) result.written.push_back(path);
  if (isElastic(*spectrum.module)) result.sa = saOf(spectrum, request);
  histories.write(result);
}

// The record's Sa beside the target, and in a single run its scale factor.
void compareWithTarget(const ItemContext& item, ItemResult& result) {
  const Request& request = item.request;
  const std::optional<Target> target = targetOf(request);
  if (!target || !result.sa) return;
  if (!item.outputs.plot.empty()) {
    const std::string title =
        fmt::format("{} and the target — {}", result.sa->measure, result.sa->name);
    plot::writeFigure(targetFigure(*result.sa, target, title,
                                   recordDescription(infosOf(item.records)), request.output.axes),
                      item.outputs.plot);
    result.written.push_back(item.outputs.plot);
  }
  if (item.single && request.measures.scaleToTarget)
    result.report += scalingLine(*result.sa, *target, parseRange(request.measures.range));
}

}  // namespace

ItemHistories::ItemHistories(const ItemContext& item, const std::function<HistorySource()>& source,
                             ItemResult& result)
    : item_(item) {
  if (item.request.measures.histories.empty()) return;
  source_ = source();
  run_ = computeHistories(item.request.measures.histories, source_, result.console);
}

void ItemHistories::write(ItemResult& result) const {
  std::string summary;
  const std::vector<std::string> written = writeHistories(run_, item_.outputs, summary);
  result.written.insert(result.written.end(), written.begin(), written.end());
  if (item_.single && !item_.request.output.quiet) result.report += summary;
}

std::string dampingTag(double zeta) { return "ζ=" + records::roundTrip(zeta); }

std::vector<records::RecordInfo> infosOf(const std::vector<records::Record>& records) {
  std::vector<records::RecordInfo> infos;
  for (const records::Record& record : records) infos.push_back(record.info);
  return infos;
}

std::string sourceOf(const std::vector<records::Record>& records, bool withFolders) {
  std::string source;
  for (const records::Record& record : records)
    source += (source.empty() ? "" : " + ") +
              (withFolders ? record.path : std::filesystem::path(record.path).filename().string());
  return source;
}

void requireSameStep(const std::vector<records::Record>& records) {
  if (records.size() < 2) return;
  const double a = records[0].dt, b = records[1].dt;
  if (std::fabs(a - b) > 1e-9 * std::max(a, b))
    throw Error(fmt::format(
        "{} and {}: the components have different time steps ({} s and {} s); --resample "
        "brings them to one when one step is a whole multiple of the other",
        records[0].path, records[1].path, records::roundTrip(a), records::roundTrip(b)));
}

RunKind runKindOf(const Request& request, const Parameters& parameters) {
  if (request.measures.rotd) return RunKind::RotD;
  const bool ductility = parameters.strength == "mu" || parameters.strength == "ductilityFactor";
  if (parameters.module->command == "inelastic" && ductility && request.measures.search != "module")
    return RunKind::Ductility;
  return RunKind::Module;
}

void runItem(const Request& request, const Parameters& parameters,
             const std::vector<std::string>& files, const OutputPaths& outputs, bool single,
             ItemResult& result) {
  ItemContext item{request, parameters,
                   prepareRecords(request, parameters, loadRecords(request, files), result.console),
                   outputs, single};
  switch (runKindOf(request, parameters)) {
    case RunKind::Module: runModule(item, result); break;
    case RunKind::Ductility:
      result.console += resamplingNote(request, parameters, item.records);
      runDuctility(item, result);
      break;
    case RunKind::RotD:
      result.console += resamplingNote(request, parameters, item.records);
      runRotd(item, result);
      break;
  }
  compareWithTarget(item, result);
}

}  // namespace cli
