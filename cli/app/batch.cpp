// Parallel batch runs with per-record failure isolation.
#include "cli/app/batch.h"

#include <fmt/format.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <mutex>
#include <thread>

#include "cli/app/error.h"

namespace cli {

namespace {

namespace fs = std::filesystem;

std::string outputStem(const std::vector<std::string>& files) {
  std::string stem = fs::path(files.front()).stem().string();
  for (std::size_t i = 1; i < files.size(); ++i) stem += "+" + fs::path(files[i]).stem().string();
  return stem;
}

// Shows "n/total records" on a terminal once the run has lasted a second.
class Progress {
 public:
  explicit Progress(std::size_t total) : total_(total), start_(Clock::now()), show_(::isatty(2)) {}
  void done(std::size_t count) {
    if (!show_ || Clock::now() - start_ < std::chrono::seconds(1)) return;
    std::fprintf(stderr, "\rspectra: %zu/%zu records", count, total_);
    shown_ = true;
  }
  // Before other text goes to stderr, so that it does not run into the progress line.
  void clear() {
    if (shown_) std::fprintf(stderr, "\r\033[K");
  }
  ~Progress() {
    if (shown_) std::fprintf(stderr, "\n");
  }

 private:
  using Clock = std::chrono::steady_clock;
  std::size_t total_;
  Clock::time_point start_;
  bool show_;
  bool shown_ = false;
};

struct Shared {
  std::mutex mutex;
  BatchReport report;
  std::size_t finished = 0;
};

void printConsole(const std::string& source, const std::string& console) {
  std::size_t start = 0;
  while (start < console.size()) {
    std::size_t end = console.find('\n', start);
    if (end == std::string::npos) end = console.size();
    std::fprintf(stderr, "%s: %s\n", source.c_str(), console.substr(start, end - start).c_str());
    start = end + 1;
  }
}

void runItem(const Request& request, const Parameters& parameters, const BatchItem& item,
             Shared& shared, Progress& progress) {
  std::string console;
  std::string failure;
  try {
    const Spectrum spectrum =
        computeSpectrum(request, parameters, loadRecords(request, item.files), console);
    writeOutputs(spectrum, request, item.targets);
  } catch (const std::exception& error) {  // Error, or an allocation failure on a huge record
    failure = error.what();
  }
  std::lock_guard<std::mutex> lock(shared.mutex);
  if (!console.empty()) progress.clear();
  printConsole(outputStem(item.files), console);
  if (failure.empty()) {
    for (const std::string& path : {item.targets.data, item.targets.plot})
      if (!path.empty()) shared.report.written.push_back(path);
  } else {
    shared.report.failures.push_back(failure);
  }
  progress.done(++shared.finished);
}

}  // namespace

std::vector<BatchItem> planBatch(const Request& request, const std::vector<std::string>& files) {
  const auto per = static_cast<std::size_t>(request.module->components);
  std::vector<BatchItem> items;
  std::map<std::string, std::string> owner;
  for (std::size_t i = 0; i + per <= files.size(); i += per) {
    BatchItem item;
    item.files.assign(files.begin() + static_cast<std::ptrdiff_t>(i),
                      files.begin() + static_cast<std::ptrdiff_t>(i + per));
    const fs::path base = fs::path(request.output.outDir) / outputStem(item.files);
    item.targets.data = base.string() + "." + request.output.outFormat;
    if (!request.output.plotFormat.empty())
      item.targets.plot = base.string() + "." + request.output.plotFormat;
    const auto [at, fresh] = owner.emplace(item.targets.data, item.files.front());
    if (!fresh)
      throw Error(fmt::format("{} and {} would both write {}: rename one of them", at->second,
                              item.files.front(), item.targets.data));
    items.push_back(std::move(item));
  }
  return items;
}

BatchReport runBatch(const Request& request, const Parameters& parameters,
                     const std::vector<BatchItem>& items, int jobs) {
  Shared shared;
  {
    Progress progress(items.size());
    std::atomic<std::size_t> next{0};
    const auto worker = [&] {
      for (std::size_t i = next++; i < items.size(); i = next++)
        runItem(request, parameters, items[i], shared, progress);
    };
    const std::size_t threads = std::min<std::size_t>(static_cast<std::size_t>(jobs), items.size());
    std::vector<std::thread> pool;
    for (std::size_t t = 1; t < threads; ++t) pool.emplace_back(worker);
    worker();
    for (std::thread& thread : pool) thread.join();
  }
  return shared.report;
}

}  // namespace cli
