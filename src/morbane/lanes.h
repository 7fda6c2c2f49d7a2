// Morbane's hardening analyses in the lanes of the nonlinear engine.
#pragma once

#include "core/lanes/lane_jobs.h"
#include "core/runtime/execution.h"
#include "morbane/newmark_var.h"

namespace morbane {

// Runs every job of the source with the hardening law in the lanes of the vector unit.
void runLanes(const core::lanes::LaneRun<1>& run, core::lanes::JobSource<ForceLaw>& source,
              core::VectorUnit unit);

}  // namespace morbane
