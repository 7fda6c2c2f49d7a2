// --resample: band-limited interpolation of the records (measures/resample.h) before analysis.
#include "cli/app/resampling.h"

#include <fmt/format.h>

#include <algorithm>
#include <stdexcept>

#include "cli/app/error.h"
#include "cli/app/module_call.h"
#include "measures/resample.h"
#include "records/numbers.h"

namespace cli {

namespace {

constexpr int kLargestFactor = 1000;

// 0 for auto, else the factor.
int requestedFactor(const std::string& text) {
  if (text.empty() || text == "auto") return 0;
  const double value = records::parseFinite(text, "--resample");
  if (value != static_cast<int>(value) || value < 1 || value > kLargestFactor)
    throw Error("--resample: give a whole factor from 1 to 1000, or auto (got '" + text + "')");
  return static_cast<int>(value);
}

// Two components brought to one step, the coarser interpolated (resampling was asked for).
void pairSteps(std::vector<records::Record>& records, std::string& console) {
  if (records.size() != 2) return;
  records::Record& a = records[0];
  records::Record& b = records[1];
  try {
    measures::ComponentPair pair = measures::pairComponents(a.samples, a.dt, b.samples, b.dt);
    if (pair.factor1 == 1 && pair.factor2 == 1) return;
    records::Record& coarse = pair.factor1 > 1 ? a : b;
    console += fmt::format("note: {} resampled by {} to the other component's step, {} s\n",
                           coarse.path, std::max(pair.factor1, pair.factor2),
                           records::roundTrip(pair.dt));
    a.samples = std::move(pair.ag1);
    b.samples = std::move(pair.ag2);
    a.dt = b.dt = pair.dt;
  } catch (const std::invalid_argument& error) {
    throw Error(a.path + " and " + b.path + ": " + error.what());
  }
}

}  // namespace

double shortestPeriod(const Parameters& parameters) {
  const std::vector<double> periods = periodList(parameters.periods);
  return *std::min_element(periods.begin(), periods.end());
}

void checkResampleOption(const Request& request) {
  if (request.measures.resample) requestedFactor(*request.measures.resample);
}

std::vector<records::Record> prepareRecords(const Request& request, const Parameters& parameters,
                                            std::vector<records::Record> records,
                                            std::string& console) {
  if (!request.measures.resample) return records;
  pairSteps(records, console);
  const double dt = records.front().dt;
  const double tMin = shortestPeriod(parameters);
  int factor = requestedFactor(*request.measures.resample);
  if (factor == 0) {
    try {
      factor = measures::resampleFactor(dt, tMin);
    } catch (const std::invalid_argument& error) {
      throw Error(records.front().path + ": " + error.what());
    }
  }
  if (factor == 1) {
    console += fmt::format("note: resampling by 1 leaves the record as it is (dt = {} s)\n",
                           records::roundTrip(dt));
    return records;
  }
  for (records::Record& record : records) {
    record.samples = measures::resample(record.samples, factor);
    record.dt = record.dt / factor;
  }
  console += fmt::format(
      "note: record resampled by {} (band-limited) from dt = {} s to {} s, {} steps per "
      "shortest period T = {} s\n",
      factor, records::roundTrip(dt), records::roundTrip(records.front().dt),
      fmt::format("{:.3g}", tMin / records.front().dt), records::roundTrip(tMin));
  return records;
}

std::string resamplingNote(const Request& request, const Parameters& parameters,
                           const std::vector<records::Record>& records) {
  if (request.measures.resample || records.empty()) return "";
  const double dt = records.front().dt;
  const double tMin = shortestPeriod(parameters);
  if (!(dt > tMin / 10.0)) return "";
  return fmt::format(
      "note: the shortest period T = {} s spans {:.3g} steps of dt = {} s; below ten, peaks read "
      "low: --resample interpolates the record to a finer step\n",
      records::roundTrip(tMin), tMin / dt, records::roundTrip(dt));
}

}  // namespace cli
