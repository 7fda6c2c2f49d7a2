// A figure for a report, described apart from the file format: panels with axes, series (lines
// with gaps), shaded bands, a legend, an optional tripartite grid, and one title. writeFigure
// (figure_writer.h) draws it to PNG or SVG. Building a figure needs nothing but this header.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace cli::plot {

enum class Scale { Linear, Log };

struct Axis {
  std::string label;  // words, symbol and unit: "Period T [s]"
  Scale scale = Scale::Linear;
  // The range; unset ends follow the data (a log axis out to the next m × 10^k, a linear one
  // out to the next tick).
  std::optional<double> min, max;
  bool fromZero = false;  // a linear axis that starts at zero whatever the data
};

enum class Dash { Solid, Dashed, Dotted };

struct Series {
  // A point with a coordinate that is not finite, or not positive on a log axis, is left out
  // and the line broken there: put a NaN where a line must not join its neighbours.
  std::vector<double> x, y;
  std::string label;  // legend text; "" keeps the series out of the legend
  int colour = -1;    // index into the palette; -1: the series' place in its panel
  Dash dash = Dash::Solid;
  double width = 1.8;    // px
  bool markers = false;  // a dot at every point (a point between two gaps always gets one)
};

// A shaded area between two curves over the same x, e.g. a mean ± one standard deviation.
struct Band {
  std::vector<double> x, lower, upper;
  std::string label;  // legend text; "" for none
  int colour = 0;
  double opacity = 0.2;
};

// Lines of constant displacement D and acceleration A on a log-log plot of pseudo-velocity V
// against period T: V = (2π/T)·D·velocityPerDisplacement and V = (T/2π)·A·velocityPerAcceleration,
// the factors taking the plotted D and A units to the V unit.
struct Tripartite {
  std::string displacementUnit;  // shown with the D values, e.g. "m"
  std::string accelerationUnit;  // e.g. "g"
  double velocityPerDisplacement = 1.0;
  double velocityPerAcceleration = 1.0;
};

struct Panel {
  std::string title;  // a small heading over this panel ("" for none; the figure has the title)
  Axis x, y;
  std::vector<Band> bands;  // drawn first, under the series
  std::vector<Series> series;
  bool legend = true;  // a legend of the labelled series and bands, in the emptiest corner
  std::optional<Tripartite> tripartite;
};

struct Figure {
  std::string title;     // one line over all panels
  std::string subtitle;  // a second, smaller line; "" for none
  std::vector<Panel> panels;
  int columns = 1;        // panels fill rows of this many, left to right, top to bottom
  int width = 800;        // of the whole figure, px (PNG pixels are twice as many)
  int panelHeight = 400;  // px
};

// The colours of the palette, as "#rrggbb" (colour i of a series is kPalette[i % size]).
const std::vector<std::string>& palette();

}  // namespace cli::plot
