// CSV output: one row per period, one column per field and swept value, units in the header.
#pragma once

#include <string>

#include "cli/app/spectrum.h"

namespace cli {

// Columns "T [s]", "f [Hz]", then "<field> <swept>=<value> [<unit>]" (e.g. "psdAcc zeta=0.05
// [g]", "dsp Qd/W=0.03 [m]") for every field that has a value per period and swept value, each
// in its output unit ("-" for ratios). Numbers are written so that they read back bit for bit.
std::string csvText(const Spectrum& spectrum);

}  // namespace cli
