// Reader dispatch by --format or by content, and the unit rule for samples.
#include "records/record_reader.h"

#include <cmath>

#include "records/at2_reader.h"
#include "records/column_reader.h"
#include "records/csv_reader.h"
#include "records/error.h"
#include "records/numbers.h"
#include "records/text_lines.h"

namespace records {

namespace {

std::string detectFormat(const std::string& path, const std::vector<std::string>& lines) {
  if (looksLikeAt2(path, lines)) return "at2";
  if (hasHeaderRow(lines)) return "csv";
  return "columns";
}

}  // namespace

Record readRecord(const std::string& path, const ReadOptions& options) {
  if (options.dt && !(std::isfinite(*options.dt) && *options.dt > 0.0))
    throw fileError(path, 0,
                    "the time step --dt must be a positive number of seconds, not " +
                        roundTrip(*options.dt));
  const std::vector<std::string> lines = readLines(path);
  const std::string format = options.format == "auto" ? detectFormat(path, lines) : options.format;
  if (format == "at2") {
    Record record = readAt2(path, lines);
    record.dt = agreeingStep(path, record.dt, options.dt);
    return record;
  }
  if (format == "csv") return readCsv(path, lines, options.column, options.dt);
  if (format == "columns") return readColumns(path, lines, options.dt);
  throw Error("unknown record format '" + format + "' (known: auto, at2, columns, csv)");
}

std::vector<double> samplesInOutputUnits(const Record& record, const UnitOptions& options) {
  std::string inName =
      record.statedUnit.empty() ? (options.units.empty() ? "g" : options.units) : record.statedUnit;
  if (!record.statedUnit.empty() && !options.units.empty() &&
      findUnit(options.units).name != record.statedUnit)
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
