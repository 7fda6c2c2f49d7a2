// The module call the program makes, in the form the measures take it: records in the analysis
// unit, the period list and every parameter.
#pragma once

#include <string>
#include <vector>

#include "cli/app/parameters.h"
#include "measures/histories.h"
#include "records/record.h"

namespace cli {

// The module behind a table entry (Tillock's weight variant by its own entry).
measures::ModuleKind moduleKindOf(const ModuleSpec& spec);

// The periods the module analyses: the list, or the ones it generates from start, end, count
// (the same running sum, so the same bits).
std::vector<double> periodList(const Periods& periods);

// The records' samples in the unit the module works in, as the module receives them.
std::vector<std::vector<double>> analysedComponents(const Request& request,
                                                    const Parameters& parameters,
                                                    const std::vector<records::Record>& records);

// The call: components (one or two), their step, the periods and the parameters.
measures::ModuleCall moduleCallOf(const Parameters& parameters,
                                  const std::vector<std::vector<double>>& components, double dt,
                                  const std::vector<double>& periods);

}  // namespace cli
