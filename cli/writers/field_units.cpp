// Field units by kind: accelerations, velocities, displacements, forces, times and ratios.
#include "cli/writers/field_units.h"

#include <set>

namespace cli {

std::string fieldUnit(const std::string& field, const records::Unit& unit) {
  static const std::set<std::string> accelerations = {"pga", "acc", "totAcc", "psdAcc",
                                                      "psdYieldAcc"};
  static const std::set<std::string> velocities = {"vel", "psdVel", "psdYieldVel"};
  static const std::set<std::string> lengths = {"dsp", "resDsp", "yieldDsp"};
  static const std::set<std::string> forces = {"iFrc", "dFrc", "rFrc", "yieldFrc", "Qd", "W"};
  static const std::set<std::string> times = {"T", "effT"};
  if (accelerations.count(field)) return unit.name;
  if (velocities.count(field)) return unit.velocity;
  if (lengths.count(field)) return unit.length;
  if (forces.count(field)) return "mass*" + unit.name;
  if (times.count(field)) return "s";
  if (field == "f") return "Hz";
  if (field == "mass") return "mass";
  return "-";
}

}  // namespace cli
