// The lane engine instantiated for the lead-rubber-bearing law, for every vector unit.
#include "pellory/lanes.h"

#include "core/lanes/substep_dispatch.h"
#include "pellory/lane_law.h"

namespace pellory {

void runLanes(const core::lanes::LaneRun<1>& run, core::lanes::JobSource<ForceLaw>& source,
              core::VectorUnit unit) {
  core::lanes::runSubstepJobs<LaneLaw, 2>(run, source, unit);
}

}  // namespace pellory
