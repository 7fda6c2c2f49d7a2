// The legend of a panel: a boxed list of swatches and labels, placed in the corner of the plot
// area that covers the fewest drawn points.
#pragma once

#include <string>
#include <vector>

#include "cli/writers/canvas.h"

namespace cli::plot {

struct LegendEntry {
  std::string label;
  Stroke stroke;         // the line sample
  bool band = false;     // a filled swatch instead of a line
  double opacity = 1.0;  // of the band swatch
  bool marker = false;   // a dot on the line sample
};

// Draws the entries (none: nothing) in the corner of area, top right, top left, bottom right or
// bottom left, whose box holds the fewest of the occupied points (the first of equals).
void drawLegend(const std::vector<LegendEntry>& entries, const std::vector<Point>& occupied,
                const Rect& area, Canvas& canvas);

}  // namespace cli::plot
