// Calling forms as the module reference documents them (README and matlab/<Module>.m).
#include "harness/calling_forms.h"

#include <stdexcept>

#include "gateways.h"

namespace fuzz {

namespace {

using S = Slot;

// The form with T, and the same form with Tstart, Tend, nT in its place.
std::vector<std::vector<Slot>> withPeriods(std::vector<Slot> form) {
  std::vector<Slot> generated;
  for (Slot slot : form) {
    if (slot != S::Periods) {
      generated.push_back(slot);
      continue;
    }
    generated.insert(generated.end(), {S::Tstart, S::Tend, S::Count});
  }
  return {form, generated};
}

// The forms with and without an optional trailing method keyword.
std::vector<std::vector<Slot>> withOptionalMethod(std::vector<Slot> form) {
  std::vector<std::vector<Slot>> forms;
  for (std::vector<Slot> base : withPeriods(form)) {
    forms.push_back(base);
    base.push_back(S::Method);
    forms.push_back(base);
  }
  return forms;
}

ModuleForms module(const std::string& name, int fields, const std::string& mass,
                   const std::string& swept, bool emptySwept,
                   std::vector<std::vector<Slot>> forms) {
  const std::string errorModule = name.substr(0, name.find('/'));
  const bool elastic = name == "Quorvel" || name == "Daskent";
  return {name, errorModule, bench::gatewayOf(name), fields, mass, swept, emptySwept,
          !elastic, std::move(forms)};
}

}  // namespace

const std::vector<ModuleForms>& moduleForms() {
  static const std::vector<ModuleForms> table = {
      module("Quorvel", 15, "mass", "zeta", false,
             withOptionalMethod({S::Record, S::Dt, S::Mass, S::Swept, S::Periods})),
      module("Daskent", 15, "mass", "zeta", false,
             withOptionalMethod({S::Record, S::Record, S::Dt, S::Mass, S::Swept, S::Periods})),
      module("Morbane", 22, "mass", "zeta", false,
             withPeriods({S::Record, S::Dt, S::Mass, S::Swept, S::Periods, S::Kin, S::Iso,
                          S::Strength, S::Para})),
      module("Tillock", 26, "mass", "frn", true,
             withPeriods({S::Record, S::Dt, S::Mass, S::Gravity, S::Swept, S::Periods, S::Uy})),
      module("Tillock/weight", 22, "W", "frn", true,
             withPeriods({S::Record, S::Dt, S::Mass, S::Swept, S::Periods, S::Uy})),
      module("Granwick", 26, "mass", "frn", true,
             withPeriods({S::Record, S::Record, S::Dt, S::Mass, S::Gravity, S::Swept, S::Periods,
                          S::Uy})),
      module("Pellory", 26, "mass", "Qd", true,
             withPeriods({S::Record, S::Dt, S::Mass, S::Swept, S::Periods, S::Alpha})),
      module("Vintarrow", 26, "mass", "Qd", true,
             withPeriods({S::Record, S::Record, S::Dt, S::Mass, S::Swept, S::Periods, S::Alpha})),
  };
  return table;
}

const ModuleForms& formsOf(const std::string& name) {
  for (const ModuleForms& m : moduleForms())
    if (m.name == name) return m;
  throw std::invalid_argument("no module " + name);
}

const std::vector<Slot>* formWithInputs(const ModuleForms& module, int nrhs) {
  for (const std::vector<Slot>& form : module.forms)
    if (static_cast<int>(form.size()) == nrhs) return &form;
  return nullptr;
}

int positionOf(const std::vector<Slot>& form, Slot slot) {
  for (std::size_t i = 0; i < form.size(); ++i)
    if (form[i] == slot) return static_cast<int>(i);
  return -1;
}

}  // namespace fuzz
