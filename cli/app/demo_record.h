// The built-in record for trying the program without a file: synthetic, not a recorded motion.
#pragma once

#include "records/record.h"
#include "cli/app/request.h"

namespace cli {

// Component 0 or 1 of the synthetic accelerogram (filtered white noise under an envelope,
// deterministic from the seed, scaled to the peak in g); component 1 uses the next seed.
records::Record demoRecord(const DemoOptions& options, int component);

}  // namespace cli
