// The report figure of a spectrum: one title naming the measure and the record, one panel per
// quantity, one curve per swept value with its legend, or the tripartite D-V-A plot.
#pragma once

#include <string>
#include <vector>

#include "cli/app/spectrum.h"
#include "cli/writers/plot.h"

namespace cli {

struct SpectrumPlotRequest {
  std::vector<std::string> fields;  // one panel each; empty: the module's defining quantities
  std::string axes = "lin";         // lin, logx, logy or loglog
  bool tripartite = false;          // pseudo-velocity on a log-log D-V-A grid instead
};

// "Imperial Valley-02, 5/19/1940 · El Centro Array #9 · component 180": what the record files
// say of themselves ("" when nothing), the components of two files joined.
std::string recordDescription(const std::vector<records::RecordInfo>& infos);

// "Elastic response spectrum", "Inelastic response spectrum", ... by module command.
std::string measureName(const ModuleSpec& module);

plot::Figure spectrumFigure(const Spectrum& spectrum, const SpectrumPlotRequest& request);

// Writes the figure (PNG or SVG by extension), whole or not at all.
void writeSpectrumPlot(const Spectrum& spectrum, const SpectrumPlotRequest& request,
                       const std::string& path);

// An Error unless axes is one of the four names and the path ends in .png or .svg.
void checkPlotRequest(const std::string& axes, const std::string& path);

}  // namespace cli
