// Laying a figure out and drawing it on a canvas: the title block, then the panels in rows.
#pragma once

#include "cli/writers/canvas.h"
#include "cli/writers/plot.h"

namespace cli::plot {

// The height of the figure in px: the title block and the rows of panels.
double figureHeight(const Figure& figure);

// Draws the whole figure. An Error when a panel has nothing its axes can show.
void drawFigure(const Figure& figure, Canvas& canvas);

}  // namespace cli::plot
