// Cairo drawing; text through cairo's own font selection with DejaVu Sans.
#include "cli/writers/png_canvas.h"

#include <cairo.h>

#include <cmath>

#include "cli/app/error.h"

namespace cli::plot {

namespace {

void setColour(cairo_t* cr, Colour c, double alpha = 1.0) {
  cairo_set_source_rgba(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0, alpha);
}

void setStroke(cairo_t* cr, const Stroke& stroke) {
  setColour(cr, stroke.colour);
  cairo_set_line_width(cr, stroke.width);
  const double w = stroke.width;
  if (stroke.dash == Dash::Dashed) {
    const double dashes[] = {4 * w, 2.5 * w};
    cairo_set_dash(cr, dashes, 2, 0);
  } else if (stroke.dash == Dash::Dotted) {
    const double dashes[] = {w, 2 * w};
    cairo_set_dash(cr, dashes, 2, 0);
  } else {
    cairo_set_dash(cr, nullptr, 0, 0);
  }
}

void tracePath(cairo_t* cr, const std::vector<Point>& points) {
  cairo_new_path(cr);
  for (std::size_t i = 0; i < points.size(); ++i)
    (i == 0 ? cairo_move_to : cairo_line_to)(cr, points[i].x, points[i].y);
}

}  // namespace

PngCanvas::PngCanvas(double width, double height, double scale)
    : surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24,
                                          static_cast<int>(std::lround(width * scale)),
                                          static_cast<int>(std::lround(height * scale)))),
      context_(cairo_create(surface_)) {
  if (cairo_status(context_) != CAIRO_STATUS_SUCCESS) {
    cairo_destroy(context_);
    cairo_surface_destroy(surface_);
    throw Error("cannot draw a picture of this size");
  }
  cairo_scale(context_, scale, scale);
  cairo_set_source_rgb(context_, 1, 1, 1);
  cairo_paint(context_);
  cairo_set_line_join(context_, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(context_, CAIRO_LINE_CAP_ROUND);
}

PngCanvas::~PngCanvas() {
  cairo_destroy(context_);
  cairo_surface_destroy(surface_);
}

void PngCanvas::polyline(const std::vector<Point>& points, const Stroke& stroke) {
  tracePath(context_, points);
  setStroke(context_, stroke);
  cairo_stroke(context_);
}

void PngCanvas::polygon(const std::vector<Point>& points, Colour fill, double opacity) {
  tracePath(context_, points);
  cairo_close_path(context_);
  setColour(context_, fill, opacity);
  cairo_fill(context_);
}

void PngCanvas::rectangle(const Rect& r, Colour fill, const Stroke& border) {
  cairo_new_path(context_);
  cairo_rectangle(context_, r.left, r.top, r.width, r.height);
  setColour(context_, fill);
  if (border.width > 0) {
    cairo_fill_preserve(context_);
    setStroke(context_, border);
    cairo_stroke(context_);
  } else {
    cairo_fill(context_);
  }
}

void PngCanvas::dot(Point c, double radius, Colour fill) {
  cairo_new_path(context_);
  cairo_arc(context_, c.x, c.y, radius, 0, 2 * M_PI);
  setColour(context_, fill);
  cairo_fill(context_);
}

void PngCanvas::text(Point at, const std::string& utf8, const Font& font, Align align,
                     double angle, Colour colour) {
  cairo_save(context_);
  cairo_select_font_face(context_, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                         font.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(context_, font.size);
  cairo_translate(context_, at.x, at.y);
  cairo_rotate(context_, -angle * M_PI / 180.0);
  const double width = textWidth(utf8, font);
  const double shift = align == Align::Start ? 0 : align == Align::Middle ? -width / 2 : -width;
  cairo_move_to(context_, shift, 0);
  setColour(context_, colour);
  cairo_show_text(context_, utf8.c_str());
  cairo_restore(context_);
}

void PngCanvas::clip(const Rect& r) {
  unclip();
  cairo_save(context_);
  cairo_new_path(context_);
  cairo_rectangle(context_, r.left, r.top, r.width, r.height);
  cairo_clip(context_);
  clipped_ = true;
}

void PngCanvas::unclip() {
  if (clipped_) cairo_restore(context_);
  clipped_ = false;
}

void PngCanvas::save(const std::string& path, const std::string& shownPath) const {
  cairo_surface_flush(surface_);
  if (cairo_surface_write_to_png(surface_, path.c_str()) != CAIRO_STATUS_SUCCESS)
    throw Error(shownPath + ": cannot write the plot");
}

}  // namespace cli::plot
