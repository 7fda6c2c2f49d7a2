// Labels in the words and symbols of structural dynamics, for tables, plots and data headers:
// "Pseudo-spectral acceleration Sa [g]", "Sa [g]", "ζ = 5 %", "Qd/W = 0.03".
#pragma once

#include <string>

#include "cli/writers/quantity_units.h"

namespace cli {

// "Pseudo-spectral acceleration Sa [m/s²]"; a ratio has no unit: "Ductility factor μΔ". A name
// the modules do not use is returned as it is.
std::string axisLabel(const std::string& field, const OutputUnits& units);

// "Sa [m/s2]", "μΔ" (plain unit names, for tables).
std::string columnLabel(const std::string& field, const OutputUnits& units);

// "Period T [s]"
std::string periodAxisLabel();

// One value of a swept input: "ζ = 5 %" (damping as a percentage), "μ = 0.05",
// "Qd = 490 N" (a force in its output unit, the value already converted).
std::string sweptLabel(const std::string& swept, double value, const OutputUnits& units);

// A strength given as a share of the weight: "Qd/W = 0.03".
std::string weightShareLabel(double share);

// A number in at most `digits` significant digits without trailing zeros: 0.05, 2.5e-05, 490.
std::string shortNumber(double value, int digits = 4);

}  // namespace cli
