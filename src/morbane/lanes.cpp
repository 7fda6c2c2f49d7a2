// The lane engine instantiated for the hardening law, for every vector unit.
#include "morbane/lanes.h"

#include "core/lanes/substep_dispatch.h"
#include "morbane/lane_law.h"

namespace morbane {

void runLanes(const core::lanes::LaneRun<1>& run, core::lanes::JobSource<ForceLaw>& source,
              core::VectorUnit unit) {
  core::lanes::runSubstepJobs<LaneLaw, 2>(run, source, unit);
}

}  // namespace morbane
