// SVG 1.1 text, coordinates to 0.01 px.
#include "cli/writers/svg_canvas.h"

#include <fmt/format.h>

namespace cli::plot {

namespace {

std::string hex(Colour c) { return fmt::format("#{:02x}{:02x}{:02x}", c.r, c.g, c.b); }

std::string escaped(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '&') out += "&amp;";
    else if (c == '<') out += "&lt;";
    else if (c == '>') out += "&gt;";
    else if (c == '"') out += "&quot;";
    else out += c;
  }
  return out;
}

std::string pointsOf(const std::vector<Point>& points) {
  std::string text;
  for (const Point& p : points) text += fmt::format("{}{:.2f},{:.2f}", text.empty() ? "" : " ", p.x, p.y);
  return text;
}

std::string strokeOf(const Stroke& stroke) {
  std::string text = fmt::format(" stroke=\"{}\" stroke-width=\"{:.2f}\"", hex(stroke.colour),
                                 stroke.width);
  if (stroke.dash == Dash::Dashed)
    text += fmt::format(" stroke-dasharray=\"{:.1f} {:.1f}\"", 4 * stroke.width, 2.5 * stroke.width);
  if (stroke.dash == Dash::Dotted)
    text += fmt::format(" stroke-dasharray=\"{:.1f} {:.1f}\"", stroke.width, 2 * stroke.width);
  return text;
}

}  // namespace

SvgCanvas::SvgCanvas(double width, double height) : width_(width), height_(height) {}

void SvgCanvas::polyline(const std::vector<Point>& points, const Stroke& stroke) {
  body_ += "<polyline points=\"" + pointsOf(points) + "\" fill=\"none\"" + strokeOf(stroke) +
           " stroke-linejoin=\"round\" stroke-linecap=\"round\"/>\n";
}

void SvgCanvas::polygon(const std::vector<Point>& points, Colour fill, double opacity) {
  body_ += fmt::format("<polygon points=\"{}\" fill=\"{}\" fill-opacity=\"{:.2f}\"/>\n",
                       pointsOf(points), hex(fill), opacity);
}

void SvgCanvas::rectangle(const Rect& r, Colour fill, const Stroke& border) {
  body_ += fmt::format("<rect x=\"{:.2f}\" y=\"{:.2f}\" width=\"{:.2f}\" height=\"{:.2f}\" fill=\"{}\"{}/>\n",
                       r.left, r.top, r.width, r.height, hex(fill),
                       border.width > 0 ? strokeOf(border) : "");
}

void SvgCanvas::dot(Point c, double radius, Colour fill) {
  body_ += fmt::format("<circle cx=\"{:.2f}\" cy=\"{:.2f}\" r=\"{:.2f}\" fill=\"{}\"/>\n", c.x, c.y,
                       radius, hex(fill));
}

void SvgCanvas::text(Point at, const std::string& utf8, const Font& font, Align align,
                     double angle, Colour colour) {
  const char* anchor = align == Align::Start ? "start" : align == Align::Middle ? "middle" : "end";
  std::string attributes = fmt::format("x=\"{:.2f}\" y=\"{:.2f}\" font-size=\"{:.1f}\"", at.x, at.y,
                                       font.size);
  if (font.bold) attributes += " font-weight=\"bold\"";
  if (align != Align::Start) attributes += fmt::format(" text-anchor=\"{}\"", anchor);
  if (colour.r || colour.g || colour.b) attributes += " fill=\"" + hex(colour) + "\"";
  if (angle != 0)
    attributes += fmt::format(" transform=\"rotate({:.2f} {:.2f} {:.2f})\"", -angle, at.x, at.y);
  body_ += "<text " + attributes + ">" + escaped(utf8) + "</text>\n";
}

void SvgCanvas::clip(const Rect& r) {
  unclip();
  body_ += fmt::format(
      "<clipPath id=\"clip{0}\"><rect x=\"{1:.2f}\" y=\"{2:.2f}\" width=\"{3:.2f}\" "
      "height=\"{4:.2f}\"/></clipPath>\n<g clip-path=\"url(#clip{0})\">\n",
      clips_++, r.left, r.top, r.width, r.height);
  clipped_ = true;
}

void SvgCanvas::unclip() {
  if (clipped_) body_ += "</g>\n";
  clipped_ = false;
}

std::string SvgCanvas::document() const {
  return fmt::format(
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
             "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"{0}\" height=\"{1}\" "
             "viewBox=\"0 0 {0} {1}\" font-family=\"DejaVu Sans, Verdana, Arial, sans-serif\">\n"
             "<rect width=\"{0}\" height=\"{1}\" fill=\"#ffffff\"/>\n",
             width_, height_) +
         body_ + (clipped_ ? "</g>\n" : "") + "</svg>\n";
}

}  // namespace cli::plot
