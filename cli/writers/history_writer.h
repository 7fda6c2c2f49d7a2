// A response history as a table (CSV), a JSON document and a plot: response against time, and
// restoring force against displacement for the nonlinear modules.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/writers/chart.h"
#include "cli/writers/data_table.h"
#include "measures/histories.h"
#include "records/units.h"

namespace cli {

// What the writers need besides the history itself.
struct HistoryDescription {
  std::string module;     // the module's name, e.g. "Quorvel"
  std::string measure;    // e.g. "elastic response" or "constant ductility μ = 4"
  std::string source;     // the record file(s)
  std::string title;      // the same without folders
  std::string swept;      // "zeta", "frn" or "Qd"
  records::Unit unit;     // acceleration unit of the analysis
  double forceScale = 1;  // forces are reported × this (analyses run at unit mass)
  bool nonlinear = false;
  std::vector<const std::vector<double>*> ground;  // ag, or ag1 and ag2, in the analysis unit
};

// "ζ = 5 %", "μ = 0.05", "Qd = 0.49 mass*m/s2".
std::string sweptText(const std::string& swept, double value, const records::Unit& unit);

// Columns: time, ground acceleration, displacement, velocity, relative and total acceleration
// and restoring force, one set per component (u1, u2 … for two).
DataTable historyTable(const measures::ResponseHistory& h, const HistoryDescription& d);

// The metadata of the history (module, record, period, swept value, step, samples, peaks).
nlohmann::ordered_json historyDocument(const measures::ResponseHistory& h,
                                       const HistoryDescription& d);

// Displacement and accelerations against time; restoring force against displacement for the
// nonlinear modules.
Chart historyChart(const measures::ResponseHistory& h, const HistoryDescription& d);

}  // namespace cli
