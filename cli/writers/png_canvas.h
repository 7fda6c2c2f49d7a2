// A canvas that draws a PNG with cairo, antialiased, at a whole-number scale of the figure's px.
#pragma once

#include <string>

#include "cli/writers/canvas.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace cli::plot {

class PngCanvas : public Canvas {
 public:
  PngCanvas(double width, double height, double scale);
  ~PngCanvas() override;
  PngCanvas(const PngCanvas&) = delete;
  PngCanvas& operator=(const PngCanvas&) = delete;

  void polyline(const std::vector<Point>& points, const Stroke& stroke) override;
  void polygon(const std::vector<Point>& points, Colour fill, double opacity) override;
  void rectangle(const Rect& rect, Colour fill, const Stroke& border) override;
  void dot(Point centre, double radius, Colour fill) override;
  void text(Point at, const std::string& utf8, const Font& font, Align align, double angle,
            Colour colour) override;
  void clip(const Rect& rect) override;
  void unclip() override;
  // Writes the picture; an Error naming the path when it cannot.
  void save(const std::string& path, const std::string& shownPath) const;

 private:
  cairo_surface_t* surface_;
  cairo_t* context_;
  bool clipped_ = false;
};

}  // namespace cli::plot
