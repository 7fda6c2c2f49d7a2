// Running a module's gateway through the project's own host with the inputs of its calling form.
#pragma once

#include <vector>

#include "cli/app/parameters.h"
#include "host/host.h"

namespace cli {

// The inputs in the order of the module's calling form: the record components (in the analysis
// unit), dt and the parameters; periods as T, or as Tstart, Tend, nT when generated.
std::vector<host::Value> gatewayInputs(const Parameters& parameters,
                                       const std::vector<std::vector<double>>& components,
                                       double dt);

// One call of the gateway. The outcome carries the structure, or the host error, and the
// console text.
host::Outcome callGateway(const Parameters& parameters,
                          const std::vector<std::vector<double>>& components, double dt);

}  // namespace cli
