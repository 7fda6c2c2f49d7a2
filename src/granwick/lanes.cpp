// The lane engine instantiated for the bidirectional friction-pendulum law, for every vector unit.
#include "granwick/lanes.h"

#include "core/lanes/substep_dispatch.h"
#include "granwick/lane_law.h"

namespace granwick {

void runLanes(const core::lanes::LaneRun<2>& run, core::lanes::JobSource<ForceLaw>& source,
              core::VectorUnit unit) {
  core::lanes::runSubstepJobs<LaneLaw, 2>(run, source, unit);
}

}  // namespace granwick
