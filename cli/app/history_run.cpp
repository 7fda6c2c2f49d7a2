// Response histories of a run: requests, the oscillator each names, files and summaries.
#include "cli/app/history_run.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>

#include "cli/app/error.h"
#include "cli/writers/atomic_file.h"
#include "cli/writers/figure_writer.h"
#include "measures/error.h"
#include "records/numbers.h"

namespace cli {

namespace {

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The listed value within 1e-9 (relative) of `value`, or `value` itself.
double nearestListed(const std::vector<double>& list, double value) {
  for (double listed : list)
    if (std::fabs(listed - value) <= 1e-9 * std::fabs(value)) return listed;
  return value;
}

std::int32_t indexOf(const std::vector<double>& list, double value) {
  const auto at = std::find(list.begin(), list.end(), value);
  return at == list.end() ? -1 : static_cast<std::int32_t>(at - list.begin());
}

std::string tagOf(const measures::ResponseHistory& h, const std::string& swept) {
  return fmt::format("history-T{:.6g}-{}{:.6g}", h.period, swept, h.sweptValue);
}

std::string summaryLine(const measures::ResponseHistory& h, const HistoryDescription& d) {
  std::string line = fmt::format(
      "history T = {:.6g} s, {}: {} samples at dt = {} s ({} under the record), peak "
      "displacement {:.6g} {}",
      h.period, sweptText(d.swept, h.sweptValue, d.units), h.samples(), records::roundTrip(h.dt),
      h.recordSamples, peakDisplacement(h, d.units), d.units.of(core::Quantity::Displacement).name);
  if (h.components.size() == 2) line += " (resultant)";
  if (h.ownCall) line += "; not among the run's periods and values, so analysed on its own";
  return line + "\n";
}

}  // namespace

std::string besidePath(const std::string& path, const std::string& tag) {
  if (path.empty()) return "";
  const std::filesystem::path p(path);
  return (p.parent_path() / (p.stem().string() + "-" + tag + p.extension().string())).string();
}

HistoryRequest parseHistoryRequest(const std::string& text, const std::string& swept) {
  const std::string usage = fmt::format(
      "--history: expected T=PERIOD[,{}=VALUE], e.g. T=1.5,{}=0.05, got '{}'", swept, swept, text);
  HistoryRequest request;
  bool havePeriod = false;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t comma = std::min(text.find(',', start), text.size());
    const std::string item = text.substr(start, comma - start);
    const std::size_t equals = item.find('=');
    if (equals == std::string::npos) throw Error(usage);
    const std::string key = lower(item.substr(0, equals));
    const double value = records::parseFinite(item.substr(equals + 1), "--history " + key);
    if (key == "t" && !havePeriod) {
      if (!(value > 0)) throw Error("--history: the period T must be positive, got " + item);
      request.period = value;
      havePeriod = true;
    } else if (key == lower(swept) && !request.value) {
      request.value = value;
    } else if (swept == "Qd" && key == "qd/w" && !request.value) {
      request.value = value;
      request.valueIsWeightShare = true;
    } else {
      throw Error(usage);
    }
    start = comma + 1;
  }
  if (!havePeriod) throw Error(usage);
  return request;
}

void checkHistoryRequests(const std::vector<std::string>& requests, const std::string& swept) {
  for (const std::string& text : requests) parseHistoryRequest(text, swept);
}

// The strength a request names: a force as given, or the force of a listed share of the weight.
// A force that is no listed force but a listed share was meant as a share: an Error says how to
// write it.
double requestedValue(const HistorySource& source, const HistoryRequest& request) {
  const std::vector<double>& listed = source.call.swept;
  const std::vector<double>& shares = source.weightShares;
  if (!request.value) return listed.at(0);
  const double value = *request.value;
  const auto shareAt = [&](double share) {
    for (std::size_t j = 0; j < shares.size() && j < listed.size(); ++j)
      if (std::fabs(shares[j] - share) <= 1e-9 * std::fabs(share)) return static_cast<int>(j);
    return -1;
  };
  if (request.valueIsWeightShare) {
    const int j = shareAt(value);
    if (j < 0)
      throw Error(
          fmt::format("--history Qd/W={:.6g}: not among the run's shares of the weight "
                      "(--qd-ratio)",
                      value));
    return listed[static_cast<std::size_t>(j)];
  }
  const bool aListedForce = std::any_of(listed.begin(), listed.end(), [&](double force) {
    return std::fabs(force - value) <= 1e-9 * std::fabs(value);
  });
  if (aListedForce || shareAt(value) < 0) return value;
  throw Error(
      fmt::format("--history Qd={0:.6g}: Qd is a force; for the share of the weight given "
                  "with --qd-ratio write Qd/W={0:.6g}",
                  value));
}

measures::ResponseHistory historyOf(const HistorySource& source, const HistoryRequest& request) {
  const measures::ModuleCall& call = source.call;
  const double period = nearestListed(call.periods, request.period);
  const double value = nearestListed(call.swept, requestedValue(source, request));
  const std::int32_t i = indexOf(call.periods, period), j = indexOf(call.swept, value);
  try {
    if (!source.ownYieldForce)
      return measures::responseHistory(call, period, value, source.yieldForces);
    // The largest-strength rule: the yield force of the run, or of a run of that one oscillator.
    if (i < 0 || j < 0) {
      measures::ResponseHistory h =
          measures::oscillatorHistory(measures::singleOscillatorCall(call, period, value), 0, 0,
                                      source.ownYieldForce(period, value));
      h.ownCall = true;
      return h;
    }
    const double fy = source.yieldForces.at(static_cast<std::size_t>(i) +
                                            static_cast<std::size_t>(j) * call.periods.size());
    if (std::isnan(fy))
      throw NoHistory(
          fmt::format("--history T={:.6g}: no yield strength of this oscillator "
                      "reaches the target ductility, so it has no history",
                      period));
    return measures::oscillatorHistory(call, i, j, fy);
  } catch (const measures::Error& error) {
    // The module's own call succeeded, so the oscillator itself has no history.
    throw NoHistory(std::string("--history: ") + error.what());
  }
}

RunHistories computeHistories(const std::vector<std::string>& requests, const HistorySource& source,
                              std::string& console) {
  RunHistories run;
  run.description = source.description;
  run.description.ground = {&source.call.ag1};
  if (measures::isTwoComponent(source.call.module))
    run.description.ground.push_back(&source.call.ag2);
  for (const std::string& text : requests) {
    try {
      run.histories.push_back(historyOf(source, parseHistoryRequest(text, run.description.swept)));
    } catch (const NoHistory& missing) {
      console += std::string("warning: ") + missing.what() + "\n";
    }
  }
  return run;
}

std::vector<std::string> writeHistories(const RunHistories& run, const OutputPaths& beside,
                                        std::string& summary) {
  const HistoryDescription& description = run.description;
  std::vector<std::string> written;
  for (const measures::ResponseHistory& h : run.histories) {
    summary += summaryLine(h, description);
    const std::string tag = tagOf(h, description.swept);
    const std::string data = besidePath(beside.data, tag);
    if (!data.empty()) {
      writeFileAtomically(
          data, dataFileText(data, historyDocument(h, description), historyTable(h, description)));
      written.push_back(data);
    }
    const std::string plot = besidePath(beside.plot, tag);
    if (!plot.empty()) {
      plot::writeFigure(historyFigure(h, description), plot);
      written.push_back(plot);
    }
  }
  return written;
}

}  // namespace cli
