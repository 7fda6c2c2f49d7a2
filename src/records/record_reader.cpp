// Reader dispatch by --format or by content, and the unit rule for samples.
#include "records/record_reader.h"

#include <algorithm>
#include <cmath>

#include "records/at2_reader.h"
#include "records/column_reader.h"
#include "records/cosmos_reader.h"
#include "records/csv_reader.h"
#include "records/error.h"
#include "records/esm_reader.h"
#include "records/file_content.h"
#include "records/knet_reader.h"
#include "records/smc_reader.h"
#include "records/numbers.h"

namespace records {

namespace {

// The agencies' formats announce themselves in their first lines; AT2 is tried after them because
// it also accepts a file by its .AT2 name alone.
std::string detectFormat(const std::string& path, const std::vector<std::string>& lines) {
  if (looksLikeCosmos(lines)) return "cosmos";
  if (looksLikeSmc(lines)) return "smc";
  if (looksLikeKnet(lines)) return "knet";
  if (looksLikeEsm(lines)) return "esm";
  if (looksLikeAt2(path, lines)) return "at2";
  expectTableOfNumbers(path, lines);
  if (hasHeaderRow(lines)) return "csv";
  return "columns";
}

std::string knownFormatsText() {
  std::string text;
  for (const std::string& name : recordFormats()) text += (text.empty() ? "" : ", ") + name;
  return text;
}

// Files that state their own step; a --dt must then agree with it.
Record withStatedStep(Record record, const ReadOptions& options) {
  record.dt = agreeingStep(record.path, record.dt, options.dt);
  return record;
}

}  // namespace

const std::vector<std::string>& recordFormats() {
  static const std::vector<std::string> names = {"auto", "at2", "cosmos",  "smc",
                                                 "knet", "esm", "columns", "csv"};
  return names;
}

Record readRecord(const std::string& path, const ReadOptions& options) {
  const auto& names = recordFormats();
  if (std::find(names.begin(), names.end(), options.format) == names.end())
    throw Error("unknown record format '" + options.format + "' (known: " + knownFormatsText() +
                ")");
  if (options.dt && !(std::isfinite(*options.dt) && *options.dt > 0.0))
    throw fileError(path, 0,
                    "the time step --dt must be a positive number of seconds, not " +
                        roundTrip(*options.dt));
  const std::vector<std::string> lines = recordFileLines(path);
  const std::string format = options.format == "auto" ? detectFormat(path, lines) : options.format;
  if (options.channel != 0 && format != "cosmos")
    throw fileError(
        path, 0,
        "--channel chooses among the channels of a COSMOS file; this file is read as " + format);
  if (format == "at2") return withStatedStep(readAt2(path, lines), options);
  if (format == "cosmos") return withStatedStep(readCosmos(path, lines, options.channel), options);
  if (format == "smc") return withStatedStep(readSmc(path, lines), options);
  if (format == "knet") return withStatedStep(readKnet(path, lines), options);
  if (format == "esm") return withStatedStep(readEsm(path, lines), options);
  Record record = format == "csv" ? readCsv(path, lines, options.column, options.dt)
                                  : readColumns(path, lines, options.dt);
  record.info.format = format == "csv" ? "CSV table" : "columns of numbers";
  return record;
}

std::vector<double> samplesInOutputUnits(const Record& record, const UnitOptions& options) {
  const std::string stated = record.statedUnit.empty() ? "" : findUnit(record.statedUnit).name;
  const std::string inName =
      stated.empty() ? (options.units.empty() ? "g" : options.units) : stated;
  if (!stated.empty() && !options.units.empty() && findUnit(options.units).name != stated)
    throw fileError(record.path, 0,
                    "the file states its samples are in " + record.statedUnit + " but --units is " +
                        options.units);
  const double factor =
      conversionFactor(findUnit(inName), findUnit(options.outUnits), options.scale);
  std::vector<double> samples = record.samples;
  for (std::size_t i = 0; i < samples.size(); ++i) {
    if (!std::isfinite(samples[i]))
      throw fileError(record.path, 0,
                      "sample " + std::to_string(i + 1) + " is not a finite number (" +
                          roundTrip(samples[i]) + " " + inName + ")");
    if (factor == 1.0) continue;
    samples[i] *= factor;
    // A finite sample must stay finite: an overflow would reach the module as infinity.
    if (!std::isfinite(samples[i]))
      throw fileError(record.path, 0,
                      "sample " + std::to_string(i + 1) + " (" + roundTrip(record.samples[i]) +
                          " " + inName + ") is too large for " + options.outUnits +
                          (options.scale != 1.0 ? " with --scale " + roundTrip(options.scale) : ""));
  }
  return samples;
}

}  // namespace records
