// A canvas that writes SVG: text as <text> elements (selectable, editable, scalable), lines as
// polylines, clipping by clipPath.
#pragma once

#include <string>

#include "cli/writers/canvas.h"

namespace cli::plot {

class SvgCanvas : public Canvas {
 public:
  SvgCanvas(double width, double height);
  void polyline(const std::vector<Point>& points, const Stroke& stroke) override;
  void polygon(const std::vector<Point>& points, Colour fill, double opacity) override;
  void rectangle(const Rect& rect, Colour fill, const Stroke& border) override;
  void dot(Point centre, double radius, Colour fill) override;
  void text(Point at, const std::string& utf8, const Font& font, Align align, double angle,
            Colour colour) override;
  void clip(const Rect& rect) override;
  void unclip() override;
  // The whole document.
  std::string document() const;

 private:
  double width_, height_;
  std::string body_;
  int clips_ = 0;
  bool clipped_ = false;
};

}  // namespace cli::plot
