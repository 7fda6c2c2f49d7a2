// Acceleration units of records and outputs, and the length and velocity units they imply.
#pragma once

#include <string>

namespace records {

struct Unit {
  std::string name;      // canonical spelling, e.g. "m/s2"
  double metresPerS2;    // one unit in m/s²
  std::string length;    // unit of displacements when accelerations are in this unit
  std::string velocity;  // unit of velocities
};

// The unit named by text (g, mg, m/s2, cm/s2, gal, mm/s2, in/s2, ft/s2, with ^2, **2 or ² also
// accepted, and sec or /s/s for s2); an Error listing the known names otherwise.
const Unit& findUnit(const std::string& text);

// A unit name found inside a column header such as "acc (g)" or "a [cm/s^2]", or "" when the
// header has none; an Error for bracketed text with a '/' that is no known unit.
std::string unitInHeader(const std::string& header);

// Standard gravity expressed in the unit.
double gravityIn(const Unit& unit);

// The factor that takes samples from one unit to another and applies a scale, computed once so
// that every sample gets a single multiplication.
double conversionFactor(const Unit& from, const Unit& to, double scale);

}  // namespace records
