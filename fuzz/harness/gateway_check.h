// The gateway fuzz check: a decoded call runs through the own host and its outcome is held
// against the documented contract of every gateway.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "harness/calling_forms.h"
#include "host/host.h"

namespace fuzz {

// Either the call succeeded, was asked for exactly one output, used a documented calling form and
// returned a 1 x 1 structure with the module's field count and names, "pga" 1 x 1, echoes of the
// mass (or W) and swept inputs as given, "T" as given (or nT x 1 from Tstart), "f" nT x 1 and
// every other field nT x nSwept; or it raised a host error starting "<Module>::mexFunction - "
// and stored no structure. Console lines are the module's "??? <Module>::" warnings. Throws
// Violation otherwise.
void checkOutcome(const ModuleForms& module, int nlhs, const std::vector<const mxArray*>& inputs,
                  const host::Outcome& outcome);

// Decodes the input (harness/argument_decoder.h), runs it under the decoded execution settings
// and checks the outcome; when asked, runs it again one-threaded on the straightforward path and
// requires the same error, console text and output bits.
void checkGatewayInput(const ModuleForms& module, const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
