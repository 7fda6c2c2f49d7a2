// Vintarrow's two-component lead-rubber-bearing analyses in the lanes of the nonlinear engine.
#pragma once

#include "core/lanes/lane_jobs.h"
#include "core/runtime/execution.h"
#include "vintarrow/newmark_var.h"

namespace vintarrow {

// Runs every job of the source with the two-component lead-rubber-bearing law in the lanes of the
// vector unit.
void runLanes(const core::lanes::LaneRun<2>& run, core::lanes::JobSource<ForceLaw>& source,
              core::VectorUnit unit);

}  // namespace vintarrow
