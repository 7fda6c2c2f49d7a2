// Plots of spectra against period with PLplot: PNG or SVG by the file's extension.
#pragma once

#include <string>
#include <vector>

#include "cli/app/spectrum.h"

namespace cli {

// One panel per field, one curve per swept value, axes labelled with units, a legend. axes is
// "lin", "logx", "logy" or "loglog"; points a log axis cannot show (zero, negative, not finite)
// are left out. The file appears only when the plot is complete.
void writePlot(const Spectrum& spectrum, const std::vector<std::string>& fields,
               const std::string& axes, const std::string& path);

// An Error unless axes is one of the four names and the extension is .png or .svg.
void checkPlotRequest(const std::string& axes, const std::string& path);

}  // namespace cli
