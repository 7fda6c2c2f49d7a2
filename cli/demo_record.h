// The built-in record for trying the program without a file: synthetic, not a recorded motion.
#pragma once

#include "cli/record.h"
#include "cli/request.h"

namespace cli {

// Component 0 or 1 of the synthetic accelerogram (filtered white noise under an envelope,
// deterministic from the seed, scaled to the peak in g); component 1 uses the next seed.
Record demoRecord(const DemoOptions& options, int component);

}  // namespace cli
