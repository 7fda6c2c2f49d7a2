// Units of the outputs, one per physical quantity (acceleration, velocity, displacement, force),
// and the factor that takes each from the units the analysis ran in. Periods stay in s,
// frequencies in Hz, ratios without unit, masses in the analysis's mass unit.
#pragma once

#include <string>
#include <vector>

#include "core/spectra/quantities.h"

namespace cli {

// One output unit: its name for data files and tables, its name for plots, and the factor.
struct QuantityUnit {
  std::string name;     // ASCII, e.g. "m/s2", "kN", "" for a ratio
  std::string display;  // e.g. "m/s²"
  double factor = 1.0;  // value in this unit = value in the analysis unit × factor
};

// The consistent units a module ran in.
struct AnalysisUnits {
  std::string acceleration;  // "m/s2", or "in/s2" for the weight variant of fps
  std::string force;         // "N" (mass in kg), or "lbf" for the weight variant (W in lbf)
  std::string mass;          // "kg", or "lbf*s2/in"
};

// kg, m/s², m/s, m, N.
AnalysisUnits siAnalysis();
// in/s², in/s, in, lbf: the weight variant of fps (its gravity is 386.1 in/s²).
AnalysisUnits inchPoundAnalysis();

// What the command line asked for; "" keeps the analysis unit (or the system's).
struct UnitRequest {
  std::string system;  // "SI", "US" or ""
  std::string acceleration, velocity, displacement, force;
};

class OutputUnits {
 public:
  OutputUnits();  // the SI analysis units, no conversion
  // An Error naming the option for a unit that is not known for its quantity.
  OutputUnits(const AnalysisUnits& analysis, const UnitRequest& request);

  const QuantityUnit& of(core::Quantity quantity) const;
  // The unit of a field or input of the modules by its quantity (core::quantityOf); a name the
  // modules do not use is taken as a ratio.
  const QuantityUnit& ofField(const std::string& name) const;
  const AnalysisUnits& analysis() const { return analysis_; }

 private:
  AnalysisUnits analysis_;
  QuantityUnit acceleration_, velocity_, displacement_, force_, mass_, period_, frequency_,
      ratio_;
};

// The values in the output unit: each multiplied once by the factor (left as they are for 1).
std::vector<double> converted(std::vector<double> values, const QuantityUnit& unit);

// "g, mg, m/s2, ..." for help texts and errors.
std::string knownUnits(core::Quantity quantity);

}  // namespace cli
