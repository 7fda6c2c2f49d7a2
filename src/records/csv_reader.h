// Reader for delimited text with a header row, such as "time,acc (g)".
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "records/record.h"

namespace records {

// True when the first non-comment line has a field that is not a number.
bool hasHeaderRow(const std::vector<std::string>& lines);

// The acceleration column is chosen by `column` (a header name or 1-based number) or is the only
// column besides a time column ("t", "time", "time (s)", ...). dt comes from the time column or,
// without one, from dtGiven. A unit in the acceleration header, e.g. "acc (g)", is the stated unit.
Record readCsv(const std::string& path, const std::vector<std::string>& lines,
               const std::string& column, std::optional<double> dtGiven);

}  // namespace records
