// One record (or pair) through a run of the measures: what goes in and what comes out.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cli/app/history_run.h"
#include "cli/app/measure_targets.h"
#include "cli/app/parameters.h"
#include "cli/app/target_run.h"
#include "records/record.h"

namespace cli {

struct ItemContext {
  const Request& request;
  const Parameters& parameters;
  std::vector<records::Record> records;  // as the analysis takes them (resampled if asked)
  OutputPaths outputs;
  bool single;  // a single run prints its table; a batch item does not
};

struct ItemResult {
  std::vector<std::string> written;  // paths, in the order written
  std::string console;               // notes and warnings, for stderr
  std::string report;                // tables and summaries, for stdout (single runs)
  std::optional<SaSpectrum> sa;      // the record's Sa for targets, suites and scaling
};

// What a run computes for each record.
enum class RunKind {
  Module,     // the module's own call, as without measures
  Ductility,  // inelastic with --mu by the largest-strength rule
  RotD,       // elastic2d --rotd, or the rotd command
};

RunKind runKindOf(const Request& request, const Parameters& parameters);

// Reads, prepares and analyses one item and writes its outputs into `result`, whose console
// text explains an Error thrown half-way. Errors name the record.
void runItem(const Request& request, const Parameters& parameters,
             const std::vector<std::string>& files, const OutputPaths& outputs, bool single,
             ItemResult& result);

// The item's --history requests: computed from the source (made only when there are any) before
// the item writes anything, then written beside its outputs, and in a single run without --quiet
// described in one line each of the report.
class ItemHistories {
 public:
  ItemHistories(const ItemContext& item, const std::function<HistorySource()>& source,
                ItemResult& result);
  ItemHistories(const ItemHistories&) = delete;  // the histories point into the source
  ItemHistories& operator=(const ItemHistories&) = delete;
  void write(ItemResult& result) const;

 private:
  const ItemContext& item_;
  HistorySource source_;
  RunHistories run_;
};

// "ζ=0.05", the column tag of a damping ratio.
std::string dampingTag(double zeta);

// The record file(s) of an analysis joined by " + ", with or without their folders.
std::string sourceOf(const std::vector<records::Record>& records, bool withFolders);

// What each record file says of itself.
std::vector<records::RecordInfo> infosOf(const std::vector<records::Record>& records);

// An Error when two components have different steps (--resample pairs them).
void requireSameStep(const std::vector<records::Record>& records);

}  // namespace cli
