// Writing a figure to a file: PNG or SVG by the extension, whole or not at all.
#pragma once

#include <string>

#include "cli/writers/plot.h"

namespace cli::plot {

// Draws the figure into path (.png or .svg, any letter case). An Error for another extension, a
// panel with nothing to show, or a file that cannot be written; the file appears only complete.
void writeFigure(const Figure& figure, const std::string& path);

// The SVG document of the figure.
std::string svgText(const Figure& figure);

// An Error unless the path ends in .png or .svg.
void checkFigurePath(const std::string& path);

}  // namespace cli::plot
