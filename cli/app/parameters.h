// The module inputs other than the records, with the defaults filled in.
#pragma once

#include <string>
#include <vector>

#include "cli/app/periods.h"
#include "cli/app/request.h"

namespace cli {

struct Parameters {
  const ModuleSpec* module = nullptr;  // the weight variant when --weight was given
  std::string outUnits;                // unit of the accelerations the module works in
  Periods periods;
  std::vector<double> swept;
  double mass = 1.0;
  double weight = 0.0;
  double gravity = 0.0;
  std::string method;  // "" leaves the module's default
  double kin = 0.0;
  double iso = 0.0;
  std::string strength;
  double para = 0.0;
  double uy = 0.0;
  double alpha = 0.0;
};

// Checks the options of the module and fills in the defaults, which follow the output units
// (gravity, a 1 mm pre-sliding displacement, Qd = 5 % of the weight). Errors name the option.
Parameters resolveParameters(const Request& request);

}  // namespace cli
