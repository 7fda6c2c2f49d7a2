// The unit of every output field, given the acceleration unit the module worked in.
#pragma once

#include <string>

#include "records/units.h"

namespace cli {

// e.g. "m" for "dsp" with m/s2, "s" for "effT", "-" for ratios, "mass*m/s2" for forces.
std::string fieldUnit(const std::string& field, const records::Unit& unit);

}  // namespace cli
