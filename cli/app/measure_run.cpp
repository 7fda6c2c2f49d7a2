// Single runs and batches of the measures: checks, items in parallel, summaries and suites.
#include "cli/app/measure_run.h"

#include <fmt/format.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <optional>
#include <thread>

#include "cli/app/batch.h"
#include "cli/app/error.h"
#include "cli/app/history_run.h"
#include "cli/app/measure_item.h"
#include "cli/app/pipeline.h"
#include "cli/app/resampling.h"
#include "cli/app/rotd_run.h"
#include "cli/app/shard.h"
#include "cli/app/target_option.h"
#include "cli/writers/spectrum_plot.h"

namespace cli {

namespace {

constexpr int kFailed = 1;

bool isBatch(const Request& request) {
  return !request.output.outDir.empty() || !request.measures.shard.empty() ||
         request.files.size() > static_cast<std::size_t>(request.module->components);
}

void checkFiles(const Request& request) {
  if (request.demo.enabled && !request.files.empty()) throw Error("--demo takes no record files");
  if (!request.demo.enabled && request.files.empty())
    throw Error(request.module->command + ": give a record file, or --demo for the built-in record");
  const auto per = static_cast<std::size_t>(request.module->components);
  if (request.files.size() % per != 0)
    throw Error(fmt::format("{} takes two record files per analysis (the two components), got {}",
                            request.measures.rotd ? "rotd" : request.module->command,
                            request.files.size()));
}

void checkOutputs(const Request& request, const Parameters& parameters, RunKind kind) {
  const OutputOptions& o = request.output;
  if (!o.out.empty()) checkDataTarget(o.out);
  if (!o.plot.empty()) checkPlotRequest(o.axes, o.plot);
  if (kind == RunKind::Module)
    chosenFields(*parameters.module, o.fields);
  else if (!o.fields.empty())
    throw Error("--fields chooses among the module's own fields; this run writes its own table");
  if (o.tripartite && (kind != RunKind::Module || !request.measures.target.empty()))
    throw Error("--tripartite draws the module's own spectrum; leave it out with --rotd, a "
                "target ductility or --target");
}

void checkTargets(const Request& request) {
  const MeasureOptions& m = request.measures;
  if (!m.target.empty()) parseTarget(m.target);
  if (m.scaleToTarget && m.target.empty())
    throw Error("--scale-to-target needs a --target to scale to");
  if (m.scaleToTarget && m.range.empty())
    throw Error("--scale-to-target needs the period range: --range Ta:Tb");
  if (!m.range.empty()) parseRange(m.range);
  if (!m.range.empty() && !m.scaleToTarget) throw Error("--range is the range of --scale-to-target");
  if (!m.rule.empty() && !m.scaleToTarget) throw Error("--rule applies to --scale-to-target");
  const bool batch = isBatch(request);
  if (m.suiteStats && !batch)
    throw Error("--suite-stats takes several records: give them with --out-dir");
  if (!m.rule.empty() && !batch) throw Error("--rule applies to a suite: give several records");
}

void checkKind(const Request& request, const Parameters& parameters, RunKind kind) {
  const MeasureOptions& m = request.measures;
  const bool ductility = parameters.strength == "mu" || parameters.strength == "ductilityFactor";
  if (!m.search.empty() && !ductility)
    throw Error("--search chooses how a target ductility is reached: give it with --mu");
  if (kind == RunKind::RotD) rotdSettings(request, parameters);
  if (kind == RunKind::RotD && parameters.module->command != "elastic2d")
    throw Error("--rotd takes two horizontal components: use it with elastic2d");
}

// Console text of a batch item, each line prefixed by the item.
std::string prefixed(const std::string& name, const std::string& console) {
  std::string text;
  std::size_t start = 0;
  while (start < console.size()) {
    std::size_t end = console.find('\n', start);
    if (end == std::string::npos) end = console.size();
    text += name + ": " + console.substr(start, end - start) + "\n";
    start = end + 1;
  }
  return text;
}

std::string stemOf(const std::vector<std::string>& files) {
  std::string stem;
  for (const std::string& f : files)
    stem += (stem.empty() ? "" : "+") + std::filesystem::path(f).stem().string();
  return stem;
}

int runSingle(const Request& request, const Parameters& parameters) {
  ItemResult result;
  try {
    runItem(request, parameters, request.files, {request.output.out, request.output.plot}, true,
            result);
  } catch (const Error&) {
    std::fputs(result.console.c_str(), stderr);  // the module's own warnings explain its error
    throw;
  }
  std::fputs(result.console.c_str(), stderr);
  std::fputs(result.report.c_str(), stdout);
  return 0;
}

// What the items of a batch gave, in the items' order whatever order they finished in.
struct BatchOutcome {
  explicit BatchOutcome(std::size_t items) : written(items), spectra(items) {}
  std::mutex mutex;
  std::vector<std::vector<std::string>> written;
  std::vector<std::optional<SaSpectrum>> spectra;
  std::vector<std::string> failures;
};

void runOne(const Request& request, const Parameters& parameters, const BatchItem& item,
            std::size_t index, BatchOutcome& outcome) {
  ItemResult result;
  std::string failure;
  try {
    runItem(request, parameters, item.files, {item.targets.data, item.targets.plot}, false, result);
  } catch (const std::exception& error) {  // Error, or an allocation failure on a huge record
    failure = error.what();
  }
  std::lock_guard<std::mutex> lock(outcome.mutex);
  std::fputs(prefixed(stemOf(item.files), result.console).c_str(), stderr);
  if (!failure.empty()) {
    outcome.failures.push_back(failure);
    return;
  }
  outcome.written[index] = std::move(result.written);
  outcome.spectra[index] = std::move(result.sa);
}

int runMany(const Request& request, const Parameters& parameters) {
  const OutputOptions& o = request.output;
  if (o.outDir.empty()) throw Error("several records: give --out-dir for their outputs");
  if (!o.out.empty() || !o.plot.empty())
    throw Error(
        "--out and --plot name one file; for several records use --out-dir with "
        "--out-format and --plot-format");
  if (request.demo.enabled) throw Error("--out-dir is for record files, not --demo");
  std::vector<BatchItem> items = planBatch(request, request.files);
  const std::size_t total = items.size();
  if (!request.measures.shard.empty())
    items = shardOf(items, parseShard(request.measures.shard),
                    [](const BatchItem& item) { return item.files; });
  std::error_code error;
  std::filesystem::create_directories(o.outDir, error);
  if (error) throw Error(o.outDir + ": cannot create the output folder: " + error.message());

  BatchOutcome outcome(items.size());
  std::atomic<std::size_t> next{0};
  const auto worker = [&] {
    for (std::size_t i = next++; i < items.size(); i = next++)
      runOne(request, parameters, items[i], i, outcome);
  };
  const int jobs =
      o.jobs > 0 ? o.jobs : static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  std::vector<std::thread> pool;
  for (std::size_t t = 1; t < std::min<std::size_t>(static_cast<std::size_t>(jobs), items.size()); ++t)
    pool.emplace_back(worker);
  worker();
  for (std::thread& thread : pool) thread.join();

  std::vector<std::string> written;
  std::vector<SaSpectrum> spectra;
  for (std::size_t i = 0; i < items.size(); ++i) {
    written.insert(written.end(), outcome.written[i].begin(), outcome.written[i].end());
    if (outcome.spectra[i]) spectra.push_back(std::move(*outcome.spectra[i]));
  }
  std::string summary;
  if (outcome.failures.empty()) {
    const std::vector<std::string> reports = writeSuiteReports(request, spectra, summary);
    written.insert(written.end(), reports.begin(), reports.end());
  } else if (request.measures.suiteStats || request.measures.scaleToTarget) {
    summary += "no suite statistics or scale factors: not every record was analysed\n";
  }
  for (const std::string& path : written) std::printf("wrote %s\n", path.c_str());
  std::fputs(summary.c_str(), stdout);
  for (const std::string& failure : outcome.failures)
    std::fprintf(stderr, "spectra: %s\n", failure.c_str());
  if (!request.measures.shard.empty())
    std::fprintf(stderr, "spectra: shard %s holds %zu of the batch's %zu records\n",
                 request.measures.shard.c_str(), items.size(), total);
  std::fprintf(stderr, "spectra: %zu of %zu records done, %zu failed\n",
               items.size() - outcome.failures.size(), items.size(), outcome.failures.size());
  return outcome.failures.empty() ? 0 : kFailed;
}

}  // namespace

bool usesMeasures(const Request& request, const Parameters& parameters) {
  const MeasureOptions& m = request.measures;
  return m.rotd || !m.histories.empty() || m.resample || !m.target.empty() || m.suiteStats ||
         m.scaleToTarget || !m.shard.empty() || !m.range.empty() || !m.rule.empty() ||
         !m.search.empty() || runKindOf(request, parameters) != RunKind::Module;
}

void checkMeasureRequest(const Request& request, const Parameters& parameters) {
  const RunKind kind = runKindOf(request, parameters);
  checkFiles(request);
  checkOutputs(request, parameters, kind);
  checkKind(request, parameters, kind);
  checkHistoryRequests(request.measures.histories, parameters.module->swept);
  checkResampleOption(request);
  if (!request.measures.shard.empty()) parseShard(request.measures.shard);
  checkTargets(request);
}

std::optional<int> runMeasures(const Request& request, const Parameters& parameters) {
  if (!usesMeasures(request, parameters)) return std::nullopt;
  checkMeasureRequest(request, parameters);
  return isBatch(request) ? runMany(request, parameters) : runSingle(request, parameters);
}

}  // namespace cli
