// inelastic --mu: the constant-ductility spectrum by the largest-strength rule
// (measures::constantDuctilitySpectrum), with its table, files, plot and histories.
#pragma once

#include "cli/app/measure_item.h"
#include "cli/writers/data_table.h"
#include "cli/writers/plot.h"
#include "measures/constant_ductility.h"

namespace cli {

// The spectrum of one record and what its writers need.
struct DuctilityRun {
  measures::ConstantDuctilitySpectrum spectrum;  // at unit mass
  std::vector<double> periods, dampingRatios;
  double targetDuctility = 0.0;
  double mass = 1.0;     // the strengths are reported × the mass
  double gravity = 0.0;  // standard gravity in the analysis unit, for Cy = fy/(m·g)
  OutputUnits units;
};

// Per damping ratio: yield strength fy, Cy = fy/(m·g), Ay = fy/m, R, ductility reached, peak and
// yield displacement. `brief` keeps Cy, R, μ and u_max for the terminal.
DataTable ductilityTable(const DuctilityRun& run, bool brief);

// Cy and R against period, one curve per damping ratio; periods without a solution left open.
plot::Figure ductilityFigure(const DuctilityRun& run, const std::string& title,
                             const std::string& subtitle, const std::string& axes);

// Computes, prints and writes the spectrum of the item's record, and its histories.
void runDuctility(const ItemContext& item, ItemResult& result);

}  // namespace cli
