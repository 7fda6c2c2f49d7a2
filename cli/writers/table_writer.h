// The readable table printed on the terminal: period, then chosen fields per swept value.
#pragma once

#include <string>
#include <vector>

#include "cli/app/spectrum.h"

namespace cli {

// A title line, two header lines (field with unit; swept value) and one row per period, values
// to six significant digits. The full precision is in the CSV and JSON outputs.
std::string tableText(const Spectrum& spectrum, const std::vector<std::string>& fields);

}  // namespace cli
