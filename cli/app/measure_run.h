// Runs that use the measures beside the modules: a single record or a batch, with histories,
// resampling, targets, suites, scaling and shards, RotD and constant-ductility spectra.
#pragma once

#include <optional>

#include "cli/app/parameters.h"

namespace cli {

// True when the request asks for anything of the measures (or `inelastic --mu`, which the
// largest-strength rule computes unless --search module).
bool usesMeasures(const Request& request, const Parameters& parameters);

// The checks of such a request that need no computation; an Error naming the option.
void checkMeasureRequest(const Request& request, const Parameters& parameters);

// Runs the request when usesMeasures says so and returns the exit status (0, or 1 when a batch
// item failed); nullopt leaves the request to the module's usual run. Errors are thrown.
std::optional<int> runMeasures(const Request& request, const Parameters& parameters);

}  // namespace cli
