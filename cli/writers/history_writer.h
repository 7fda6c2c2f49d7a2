// A response history as a table (CSV), a JSON document and a plot: response against time, and
// restoring force against displacement for the nonlinear modules.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/writers/data_table.h"
#include "cli/writers/plot.h"
#include "cli/writers/quantity_units.h"
#include "measures/histories.h"

namespace cli {

// What the writers need besides the history itself.
struct HistoryDescription {
  std::string module;     // the module's name, e.g. "Quorvel"
  std::string measure;    // e.g. "elastic response" or "constant ductility μ = 4"
  std::string source;     // the record file(s)
  std::string title;      // the same without folders
  std::string subtitle;   // what the records say of themselves, "" for nothing
  std::string swept;      // "zeta", "frn" or "Qd"
  OutputUnits units;      // of the outputs; the history is computed in the analysis units
  double forceScale = 1;  // forces are reported × this (analyses run at unit mass)
  bool nonlinear = false;
  std::vector<const std::vector<double>*> ground;  // ag, or ag1 and ag2, in the analysis unit
};

// "ζ = 5 %", "μ = 0.05", "Qd = 490 N" for a swept value in the analysis units.
std::string sweptText(const std::string& swept, double value, const OutputUnits& units);

// The peak displacement (of the resultant for two components) in the output unit.
double peakDisplacement(const measures::ResponseHistory& h, const OutputUnits& units);

// Columns: time, ground acceleration, displacement, velocity, relative and total acceleration
// and restoring force, one set per component (u1, u2 … for two).
DataTable historyTable(const measures::ResponseHistory& h, const HistoryDescription& d);

// The metadata of the history (module, record, period, swept value, step, samples, peaks).
nlohmann::ordered_json historyDocument(const measures::ResponseHistory& h,
                                       const HistoryDescription& d);

// Displacement and accelerations against time; restoring force against displacement for the
// nonlinear modules.
plot::Figure historyFigure(const measures::ResponseHistory& h, const HistoryDescription& d);

}  // namespace cli
