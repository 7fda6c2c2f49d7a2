// Text widths measured with cairo's font machinery on a scratch surface, shared by the PNG and
// SVG canvases so that both lay a figure out alike.
#include <cairo.h>

#include <mutex>

#include "cli/writers/canvas.h"

namespace cli::plot {

namespace {

std::mutex metricsMutex;

cairo_t* scratchContext() {
  static cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
  static cairo_t* context = cairo_create(surface);
  return context;
}

}  // namespace

Colour colourOf(const std::string& hex) {
  const auto channel = [&](std::size_t at) {
    return static_cast<unsigned char>(std::stoi(hex.substr(at, 2), nullptr, 16));
  };
  return {channel(1), channel(3), channel(5)};
}

double textWidth(const std::string& utf8, const Font& font) {
  std::lock_guard<std::mutex> lock(metricsMutex);
  cairo_t* context = scratchContext();
  cairo_select_font_face(context, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL,
                         font.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(context, font.size);
  cairo_text_extents_t extents;
  cairo_text_extents(context, utf8.c_str(), &extents);
  return extents.x_advance;
}

}  // namespace cli::plot
