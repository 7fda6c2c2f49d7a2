// elastic2d --rotd (the rotd command): RotDnn, the geometric mean and GMRotI50 of a pair of
// horizontal components (measures::rotdSpectra), with table, files, plot and histories.
#pragma once

#include "cli/app/measure_item.h"
#include "cli/writers/data_table.h"
#include "cli/writers/plot.h"
#include "cli/writers/quantity_units.h"
#include "measures/rotd.h"

namespace cli {

// The percentiles of --percentiles and the checks rotdSpectra makes, before any work; an Error
// naming the option. Also refuses --method newmark (RotD uses the exact recurrence).
measures::RotDSettings rotdSettings(const Request& request, const Parameters& parameters);

// Per damping ratio: for every percentile Sd, PSV, PSA; the angles of RotD00 and RotD100; the
// geometric mean; GMRotI50 and GMRotD50. `brief` keeps the PSA of each percentile and of the
// geometric mean for the terminal.
DataTable rotdTable(const measures::RotDSpectra& s, const OutputUnits& units, bool brief);

// PSA of every percentile and of the geometric mean against period, one panel per damping ratio.
plot::Figure rotdFigure(const measures::RotDSpectra& s, const OutputUnits& units,
                        const std::string& title, const std::string& subtitle,
                        const std::string& axes);

// Computes, prints and writes the RotD spectra of the item's pair, and its histories.
void runRotd(const ItemContext& item, ItemResult& result);

}  // namespace cli
