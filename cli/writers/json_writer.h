// JSON output: every field of the output structure with its shape and unit.
#pragma once

#include <string>

#include "cli/app/spectrum.h"

namespace cli {

// {"module", "command", "source", "units", "fields": {name: {"shape": [rows, cols], "unit",
// "data": rows of values}}}, fields in structure order. Numbers read back bit for bit; values
// that are not finite are written as the strings "NaN", "Infinity" and "-Infinity".
std::string jsonText(const Spectrum& spectrum);

}  // namespace cli
