// What every output field and input of the modules means to an engineer: the physical quantity
// (which sets its unit), its usual symbol and its name in words. The program's tables and plots
// and the bindings' metadata read it.
#pragma once

#include <string>

namespace core {

enum class Quantity {
  Acceleration,  // in the unit of the record
  Velocity,      // the record's length unit per second
  Displacement,  // the record's length unit
  Force,         // mass × acceleration
  Mass,
  Period,     // s
  Frequency,  // Hz
  Ratio,      // dimensionless
};

struct QuantityInfo {
  const char* name;    // field or input name, e.g. "psdAcc"
  Quantity quantity;   // e.g. Acceleration
  const char* symbol;  // e.g. "Sa"
  const char* words;   // e.g. "pseudo-spectral acceleration"
};

// The entry for a field of any module or a swept/scalar input (zeta, frn, Qd, mass, W, T, ...);
// nullptr for a name the modules do not use.
const QuantityInfo* quantityOf(const std::string& name);

}  // namespace core
