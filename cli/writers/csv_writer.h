// CSV output: one row per period, one column per field and swept value, units in the header.
#pragma once

#include <string>

#include "cli/app/spectrum.h"

namespace cli {

// Columns "T [s]", "f [Hz]", then "<field> <swept>=<value> [<unit>]" for every field that has a
// value per period and swept value. Numbers are written so that they read back bit for bit.
std::string csvText(const Spectrum& spectrum);

}  // namespace cli
