// The steps of one analysis, shared by single runs and batches.
#include "cli/app/pipeline.h"

#include <fmt/format.h>

#include <cmath>
#include <filesystem>

#include "cli/writers/atomic_file.h"
#include "cli/writers/csv_writer.h"
#include "cli/app/demo_record.h"
#include "cli/app/error.h"
#include "cli/app/gateway_call.h"
#include "cli/app/resampling.h"
#include "cli/writers/json_writer.h"
#include "records/numbers.h"
#include "cli/writers/plot_writer.h"
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

void checkSameStep(const std::vector<records::Record>& records) {
  if (records.size() < 2) return;
  const double a = records[0].dt, b = records[1].dt;
  if (std::fabs(a - b) > 1e-9 * std::max(a, b))
    throw Error(fmt::format("{} and {}: the components have different time steps ({} s and {} s)",
                            records[0].path, records[1].path, records::roundTrip(a), records::roundTrip(b)));
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
  checkSameStep(records);
  console += resamplingNote(request, parameters, records);
  std::vector<std::vector<double>> components;
  records::UnitOptions units = request.units;
  units.outUnits = parameters.outUnits;
  for (const records::Record& record : records) components.push_back(records::samplesInOutputUnits(record, units));
  if (components.size() == 2 && components[0].size() != components[1].size())
    console += fmt::format(
        "note: the components have {} and {} samples; the module uses the "
        "first {} of each\n",
        components[0].size(), components[1].size(),
        std::min(components[0].size(), components[1].size()));

  Spectrum spectrum;
  spectrum.source = sourceOf(records, true);
  spectrum.title = sourceOf(records, false);
  spectrum.module = parameters.module;
  spectrum.outUnits = parameters.outUnits;
  spectrum.outcome = callGateway(parameters, components, records.front().dt);
  console += spectrum.outcome.console;
  if (!spectrum.outcome.ok) throw Error(spectrum.source + ": " + oneLine(spectrum.outcome.error));
  return spectrum;
}

void checkDataTarget(const std::string& path) {
  const std::string extension = extensionOf(path);
  if (extension != ".csv" && extension != ".json")
    throw Error(path + ": data files are written as .csv or .json");
}

void writeOutputs(const Spectrum& spectrum, const Request& request, const Targets& targets) {
  if (!targets.data.empty())
    writeFileAtomically(targets.data, extensionOf(targets.data) == ".json" ? jsonText(spectrum)
                                                                           : csvText(spectrum));
  if (targets.plot.empty()) return;
  const std::string& fields = request.output.fields;
  writePlot(spectrum,
            fields.empty() ? std::vector<std::string>{spectrum.module->mainFields.front()}
                           : chosenFields(*spectrum.module, fields),
            request.output.axes, targets.plot);
}

}  // namespace cli
