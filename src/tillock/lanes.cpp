// The lane engine instantiated for the friction-pendulum law, for every vector unit.
#include "tillock/lanes.h"

#include "core/lanes/substep_dispatch.h"
#include "tillock/lane_law.h"

namespace tillock {

void runLanes(const core::lanes::LaneRun<1>& run, core::lanes::JobSource<ForceLaw>& source,
              core::VectorUnit unit) {
  core::lanes::runSubstepJobs<LaneLaw, 2>(run, source, unit);
}

}  // namespace tillock
