// The tripartite grid of a pseudo-velocity plot: lines of constant displacement (falling at
// 45° on the log-log axes) and of constant acceleration (rising), each labelled with its value.
#pragma once

#include "cli/writers/axis_scale.h"
#include "cli/writers/canvas.h"
#include "cli/writers/plot.h"

namespace cli::plot {

// Draws the lines at 1, 2, 5 × 10^k within the frame (decades darker), labelling the decades
// (and 2 and 5 when few decades show) along the lines. Call before the series.
void drawTripartiteGrid(const Tripartite& grid, const Frame& frame, Canvas& canvas);

}  // namespace cli::plot
