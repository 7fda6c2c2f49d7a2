// What a figure is drawn on: lines, filled shapes, dots and text, in px from the top left. One
// implementation writes SVG text (text stays text), one draws a PNG with cairo.
#pragma once

#include <string>
#include <vector>

#include "cli/writers/plot.h"

namespace cli::plot {

struct Colour {
  unsigned char r = 0, g = 0, b = 0;
};
// "#1f77b4" -> its colour.
Colour colourOf(const std::string& hex);

struct Point {
  double x = 0.0, y = 0.0;
};

struct Rect {
  double left = 0.0, top = 0.0, width = 0.0, height = 0.0;
  double right() const { return left + width; }
  double bottom() const { return top + height; }
};

struct Stroke {
  Colour colour;
  double width = 1.0;
  Dash dash = Dash::Solid;
};

struct Font {
  double size = 12.0;  // px
  bool bold = false;
};

enum class Align { Start, Middle, End };

class Canvas {
 public:
  virtual ~Canvas() = default;
  virtual void polyline(const std::vector<Point>& points, const Stroke& stroke) = 0;
  virtual void polygon(const std::vector<Point>& points, Colour fill, double opacity) = 0;
  virtual void rectangle(const Rect& rect, Colour fill, const Stroke& border) = 0;
  virtual void dot(Point centre, double radius, Colour fill) = 0;
  // Text with its baseline through `at`, aligned there, turned by angle degrees anticlockwise.
  virtual void text(Point at, const std::string& utf8, const Font& font, Align align,
                    double angle, Colour colour) = 0;
  // Later drawing is cut to the rectangle until unclip().
  virtual void clip(const Rect& rect) = 0;
  virtual void unclip() = 0;
};

// Width of the text in px as DejaVu Sans sets it (the font both canvases ask for).
double textWidth(const std::string& utf8, const Font& font);
// Height above the baseline of capital letters, as a share of the font size.
constexpr double kCapHeight = 0.73;

}  // namespace cli::plot
