// JSON output: every field of the output structure with its shape, unit and meaning.
#pragma once

#include <string>

#include "cli/app/spectrum.h"

namespace cli {

// {"module", "command", "source", "records": [{format, event, station, component}], "units":
// {acceleration, velocity, displacement, force, mass}, ["QdOverW": shares of the weight,]
// "fields": {name: {"shape": [rows, cols], "unit", "symbol", "quantity", "data": rows of
// values}}}, fields in structure order, each in its output unit ("" for ratios). Numbers read
// back bit for bit; values that are not finite are the strings "NaN", "Infinity", "-Infinity".
std::string jsonText(const Spectrum& spectrum);

}  // namespace cli
