// The readable table printed on the terminal: period, then chosen fields per swept value.
#pragma once

#include <string>
#include <vector>

#include "cli/app/spectrum.h"

namespace cli {

// A title line with the PGA, two header lines (symbol with unit, "Sa [g]"; swept value,
// "ζ = 5 %") and one row per period, values to six significant digits in the output units.
// The full precision is in the CSV and JSON outputs.
std::string tableText(const Spectrum& spectrum, const std::vector<std::string>& fields);

}  // namespace cli
