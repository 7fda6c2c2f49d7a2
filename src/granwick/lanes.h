// Granwick's bidirectional friction-pendulum analyses in the lanes of the nonlinear engine.
#pragma once

#include "core/lanes/lane_jobs.h"
#include "core/runtime/execution.h"
#include "granwick/newmark_var.h"

namespace granwick {

// Runs every job of the source with the bidirectional friction-pendulum law in the lanes of the
// vector unit.
void runLanes(const core::lanes::LaneRun<2>& run, core::lanes::JobSource<ForceLaw>& source,
              core::VectorUnit unit);

}  // namespace granwick
