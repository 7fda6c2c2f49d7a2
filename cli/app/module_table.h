// The seven modules as the program sees them: names, calling forms, swept parameter and fields.
#pragma once

#include <string>
#include <vector>

#include "core/gateway/form.h"
#include "host/host.h"

namespace cli {

// One input of a calling form. Periods stand for T, or for Tstart, Tend, nT when generated.
enum class Slot {
  Record,   // ag, or ag1 of a two-component module
  Record2,  // ag2
  Dt,
  Mass,
  Weight,
  Gravity,
  Swept,  // zeta, frn or Qd
  Periods,
  Kin,
  Iso,
  Strength,  // Morbane's method keyword
  Para,
  Uy,
  Alpha,
  Method,  // time-domain method keyword, sent only when the user chose one
};

struct ModuleSpec {
  std::string command;  // e.g. "elastic"
  std::string name;     // the module's own name, e.g. "Quorvel"
  std::string summary;
  host::Gateway gateway = nullptr;
  int components = 1;
  std::string swept;  // "zeta", "frn" or "Qd"
  std::vector<Slot> slots;
  std::vector<std::string> fields;      // the output structure, in order, as the module declares
  std::vector<std::string> mainFields;  // shown in the table by default
  std::vector<std::string> plotFields;  // plotted by default: the quantities defining the module
  std::string defaultPeriods;
};

const std::vector<ModuleSpec>& moduleTable();

// The module for a command or module name (any letter case); nullptr when there is none.
const ModuleSpec* findModule(const std::string& name);

// The weight variant of the friction-pendulum module, chosen by `fps --weight`.
const ModuleSpec& frictionPendulumWeight();

}  // namespace cli
