// The module inputs other than the records, with the defaults filled in.
#pragma once

#include <string>
#include <vector>

#include "cli/app/periods.h"
#include "cli/app/request.h"
#include "cli/writers/quantity_units.h"

namespace cli {

struct Parameters {
  const ModuleSpec* module = nullptr;  // the weight variant when --weight was given
  AnalysisUnits analysis;              // the units the module works in
  OutputUnits units;                   // the units of every output
  Periods periods;
  std::vector<double> swept;  // in the analysis units
  // Qd given as shares of the weight m*g (--qd-ratio, or the default): one per swept value;
  // empty when the strengths were given as forces.
  std::vector<double> weightShares;
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

// Checks the options of the module and fills in the defaults, in the analysis units: kg, m/s²,
// m and N (standard gravity 9.80665 m/s², a 1 mm pre-sliding displacement, Qd = 5 % of the
// weight); the weight variant of fps works in inches and pounds. Errors name the option.
Parameters resolveParameters(const Request& request);

}  // namespace cli
