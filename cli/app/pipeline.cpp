// The steps of one analysis, shared by single runs and batches.
#include "cli/app/pipeline.h"

#include <fmt/format.h>

#include <cmath>
#include <filesystem>

#include <stdexcept>

#include "cli/app/demo_record.h"
#include "cli/app/error.h"
#include "cli/app/gateway_call.h"
#include "cli/app/physical_checks.h"
#include "cli/writers/atomic_file.h"
#include "cli/writers/csv_writer.h"
#include "cli/writers/json_writer.h"
#include "cli/writers/labels.h"
#include "cli/writers/spectrum_plot.h"
#include "measures/resample.h"
#include "records/numbers.h"
#include "records/record_reader.h"

namespace cli {

namespace {

std::string sourceOf(const std::vector<records::Record>& records, bool withFolders) {
  std::string source;
  for (const records::Record& record : records)
    source += (source.empty() ? "" : " + ") +
              (withFolders ? record.path : std::filesystem::path(record.path).filename().string());
  return source;
}

bool sameStep(double a, double b) { return std::fabs(a - b) <= 1e-9 * std::max(a, b); }

struct Components {
  std::vector<std::vector<double>> samples;  // in the analysis unit
  double dt = 0.0;
};

// Two components at different steps: the coarser is resampled to the finer step when --resample
// was given, an Error saying to give it otherwise.
Components paired(const Request& request, const std::vector<records::Record>& records,
                  Components components, std::string& console) {
  const records::Record &a = records[0], &b = records[1];
  if (!request.resample)
    throw Error(fmt::format(
        "{} and {}: the components have different time steps ({} s and {} s); add --resample "
        "to bring the coarser one to the finer step",
        a.path, b.path, records::roundTrip(a.dt), records::roundTrip(b.dt)));
  measures::ComponentPair pair;
  try {
    pair = measures::pairComponents(components.samples[0], a.dt, components.samples[1], b.dt);
  } catch (const std::invalid_argument& error) {
    throw Error(a.path + " and " + b.path + ": " + error.what());
  }
  for (const auto& [record, factor] : {std::pair{&a, pair.factor1}, std::pair{&b, pair.factor2}})
    if (factor > 1)
      console += fmt::format("note: {} resampled from {} s to {} s to pair the components\n",
                             record->path, records::roundTrip(record->dt),
                             records::roundTrip(pair.dt));
  return {{std::move(pair.ag1), std::move(pair.ag2)}, pair.dt};
}

// The samples in the analysis unit, a warning for an implausible peak, the components paired.
Components analysisComponents(const Request& request, const Parameters& parameters,
                              const std::vector<records::Record>& records, std::string& console) {
  records::UnitOptions units = request.units;
  units.outUnits = parameters.analysis.acceleration;
  Components components;
  components.dt = records.front().dt;
  for (const records::Record& record : records) {
    components.samples.push_back(records::samplesInOutputUnits(record, units));
    const std::string warning =
        recordPeakWarning(record, components.samples.back(), units.outUnits, units);
    if (!warning.empty()) console += warning + "\n";
  }
  if (records.size() == 2 && !sameStep(records[0].dt, records[1].dt))
    return paired(request, records, std::move(components), console);
  return components;
}

// "R = 4, kin = 0.02": what the title states besides the swept values.
std::string settingOf(const Parameters& p) {
  std::vector<std::string> parts;
  const OutputUnits& u = p.units;
  const auto with = [](double value, const QuantityUnit& unit) {
    return shortNumber(value * unit.factor) + " " + unit.display;
  };
  const std::string& s = p.strength;
  if (s == "R" || s == "strengthReductionFactor") parts.push_back("R = " + shortNumber(p.para));
  if (s == "mu" || s == "ductilityFactor")
    parts.push_back("target ductility μ = " + shortNumber(p.para));
  if (s == "fy" || s == "yieldStrength")
    parts.push_back("fy = " + with(p.para, u.of(core::Quantity::Force)));
  if (s == "uy" || s == "yieldDisplacement")
    parts.push_back("uy = " + with(p.para, u.of(core::Quantity::Displacement)));
  if (p.kin != 0) parts.push_back("kinematic hardening ratio " + shortNumber(p.kin));
  if (p.iso != 0) parts.push_back("isotropic hardening ratio " + shortNumber(p.iso));
  if (p.method == "newmark") parts.push_back("Newmark integration");
  const std::string& swept = p.module->swept;
  if (swept == "Qd") parts.push_back("α = " + shortNumber(p.alpha));
  if (swept == "frn") parts.push_back("uy = " + with(p.uy, u.of(core::Quantity::Displacement)));
  std::string text;
  for (const std::string& part : parts) text += (text.empty() ? "" : ", ") + part;
  return text;
}

// "Quorvel::mexFunction - x\n" on one line.
std::string oneLine(std::string text) {
  while (!text.empty() && text.back() == '\n') text.pop_back();
  for (char& c : text)
    if (c == '\n') c = ' ';
  return text;
}

std::string extensionOf(const std::string& path) {
  return std::filesystem::path(path).extension().string();
}

}  // namespace

std::vector<records::Record> loadRecords(const Request& request, const std::vector<std::string>& files) {
  std::vector<records::Record> records;
  if (request.demo.enabled) {
    for (int c = 0; c < request.module->components; ++c)
      records.push_back(demoRecord(request.demo, c));
    return records;
  }
  for (const std::string& file : files) records.push_back(records::readRecord(file, request.read));
  return records;
}

Spectrum computeSpectrum(const Request& request, const Parameters& parameters,
                         const std::vector<records::Record>& records, std::string& console) {
  const Components components = analysisComponents(request, parameters, records, console);
  const std::vector<std::vector<double>>& samples = components.samples;
  if (samples.size() == 2 && samples[0].size() != samples[1].size())
    console += fmt::format(
        "note: the components have {} and {} samples; the module uses the "
        "first {} of each\n",
        samples[0].size(), samples[1].size(), std::min(samples[0].size(), samples[1].size()));

  Spectrum spectrum;
  spectrum.source = sourceOf(records, true);
  spectrum.title = sourceOf(records, false);
  for (const records::Record& record : records) spectrum.infos.push_back(record.info);
  spectrum.module = parameters.module;
  spectrum.units = parameters.units;
  spectrum.weightShares = parameters.weightShares;
  spectrum.setting = settingOf(parameters);
  const host::Outcome outcome = callGateway(parameters, samples, components.dt);
  console += outcome.console;
  if (!outcome.ok) throw Error(spectrum.source + ": " + oneLine(outcome.error));
  spectrum.fields = convertedFields(outcome, parameters.units);
  return spectrum;
}

void checkDataTarget(const std::string& path) {
  const std::string extension = extensionOf(path);
  if (extension != ".csv" && extension != ".json")
    throw Error(path + ": data files are written as .csv or .json");
}

SpectrumPlotRequest plotRequestOf(const Request& request, const ModuleSpec& module) {
  SpectrumPlotRequest plot;
  if (!request.output.fields.empty()) plot.fields = chosenFields(module, request.output.fields);
  plot.axes = request.output.axes;
  plot.tripartite = request.output.tripartite;
  return plot;
}

void writeOutputs(const Spectrum& spectrum, const Request& request, const Targets& targets) {
  if (!targets.data.empty())
    writeFileAtomically(targets.data, extensionOf(targets.data) == ".json" ? jsonText(spectrum)
                                                                           : csvText(spectrum));
  if (targets.plot.empty()) return;
  writeSpectrumPlot(spectrum, plotRequestOf(request, *spectrum.module), targets.plot);
}

}  // namespace cli
