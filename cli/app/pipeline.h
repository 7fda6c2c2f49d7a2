// One analysis: records in, spectrum out, outputs written.
#pragma once

#include <string>
#include <vector>

#include "cli/app/parameters.h"
#include "records/record.h"
#include "cli/app/request.h"
#include "cli/app/spectrum.h"
#include "cli/writers/spectrum_plot.h"

namespace cli {

// The records of one analysis: the files (one, or two for a two-component module) or the demo.
std::vector<records::Record> loadRecords(const Request& request, const std::vector<std::string>& files);

// Runs the module on the records. Console text of the module (warnings) goes to `console`; a
// host error becomes an Error naming the records.
Spectrum computeSpectrum(const Request& request, const Parameters& parameters,
                         const std::vector<records::Record>& records, std::string& console);

struct Targets {
  std::string data;  // .csv or .json, "" for none
  std::string plot;  // .png or .svg, "" for none
};

// What the plot options ask for: --fields (checked), --axes, --tripartite.
SpectrumPlotRequest plotRequestOf(const Request& request, const ModuleSpec& module);

// Writes the data file and the plot; each appears whole or not at all.
void writeOutputs(const Spectrum& spectrum, const Request& request, const Targets& targets);

// An Error unless the data file ends in .csv or .json.
void checkDataTarget(const std::string& path);

}  // namespace cli
