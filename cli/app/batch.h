// Many records in one call: one output per record, records processed in parallel.
#pragma once

#include <string>
#include <vector>

#include "cli/app/parameters.h"
#include "cli/app/pipeline.h"
#include "cli/app/request.h"

namespace cli {

struct BatchItem {
  std::vector<std::string> files;  // one record, or the two components of one
  Targets targets;
};

// The items for the files, grouped by the module's number of components, with outputs named
// after the record in the output folder. An Error when two records would write the same file.
std::vector<BatchItem> planBatch(const Request& request, const std::vector<std::string>& files);

struct BatchReport {
  std::vector<std::string> written;   // paths of the files written
  std::vector<std::string> failures;  // one line per failed record
};

// Runs every item on `jobs` threads; a failed item does not stop the others. Module warnings go
// to stderr prefixed by the record; a progress line is shown on a terminal for long runs.
BatchReport runBatch(const Request& request, const Parameters& parameters,
                     const std::vector<BatchItem>& items, int jobs);

}  // namespace cli
