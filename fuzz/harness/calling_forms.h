// The documented calling forms and output structures of every gateway, as the fuzz checks need
// them: which input is which, and what shape each output field must have.
#pragma once

#include <string>
#include <vector>

#include "host/host.h"

namespace fuzz {

// What one input of a calling form stands for.
enum class Slot {
  Record,    // ag, ag1 or ag2
  Dt,        //
  Mass,      // m, or W of the weight variant: echoed as output field 1
  Gravity,   //
  Swept,     // zeta, frn or Qd: echoed as field 2, one result column per element
  Periods,   // T: echoed as field 3
  Tstart,    //
  Tend,      //
  Count,     // nT
  Method,    // "recform" or "newmark"
  Kin,       //
  Iso,       //
  Strength,  // Morbane's strength keyword
  Para,      //
  Uy,        //
  Alpha,     // a ratio from 0 to 1
};

struct ModuleForms {
  std::string name;          // "Quorvel", ..., "Tillock/weight"
  std::string errorModule;   // the module name its errors start with
  host::Gateway gateway;     //
  int fieldCount;            // fields of the output structure
  std::string massField;     // field 1: "mass" or "W"
  std::string sweptField;    // field 2: "zeta", "frn" or "Qd"
  bool sweptMayBeEmpty;      // a 0 x 0 swept vector is a defined call
  bool subSteps;             // the integrator halves its step until it converges
  std::vector<std::vector<Slot>> forms;
};

const std::vector<ModuleForms>& moduleForms();

// The module of that name; throws std::invalid_argument for an unknown one.
const ModuleForms& formsOf(const std::string& name);

// The calling form with that many inputs, or nullptr when the module has none.
const std::vector<Slot>* formWithInputs(const ModuleForms& module, int nrhs);

// The position of the first input of that kind in a form, or -1.
int positionOf(const std::vector<Slot>& form, Slot slot);

}  // namespace fuzz
