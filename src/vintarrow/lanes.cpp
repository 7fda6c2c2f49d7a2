// The lane engine instantiated for the two-component lead-rubber-bearing law, for every vector
// unit.
#include "vintarrow/lanes.h"

#include "core/lanes/substep_dispatch.h"
#include "vintarrow/lane_law.h"

namespace vintarrow {

void runLanes(const core::lanes::LaneRun<2>& run, core::lanes::JobSource<ForceLaw>& source,
              core::VectorUnit unit) {
  core::lanes::runSubstepJobs<LaneLaw, 2>(run, source, unit);
}

}  // namespace vintarrow
