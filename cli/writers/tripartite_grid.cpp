// With V = (2π/T)·D·kD, a line of constant D is straight on log-log axes: it is drawn between
// its points at the two ends of the period axis and clipped to the plot area. The same for
// V = (T/2π)·A·kA.
#include "cli/writers/tripartite_grid.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "cli/writers/ticks.h"

namespace cli::plot {

namespace {

constexpr double kTwoPi = 6.283185307179586;
const Colour kDecadeLine{165, 165, 165};
const Colour kLine{218, 218, 218};
const Colour kLabel{110, 110, 110};
const Font kFont{10.0, false};

struct Segment {
  Point from, to;  // from the left end to the right end, inside the area
};

// The part of the line through a and b (a left of b) inside the area, if any.
std::optional<Segment> insideArea(Point a, Point b, const Rect& area) {
  double t0 = 0, t1 = 1;
  const double dy = b.y - a.y;
  if (dy == 0) {
    if (a.y < area.top || a.y > area.bottom()) return std::nullopt;
  } else {
    double ta = (area.top - a.y) / dy, tb = (area.bottom() - a.y) / dy;
    if (ta > tb) std::swap(ta, tb);
    t0 = std::max(t0, ta);
    t1 = std::min(t1, tb);
  }
  if (!(t1 > t0)) return std::nullopt;
  const auto at = [&](double t) { return Point{a.x + t * (b.x - a.x), a.y + t * dy}; };
  return Segment{at(t0), at(t1)};
}

struct GridValue {
  double value;
  bool decade;
};

// The values 1, 2, 5 × 10^k from lo to hi.
std::vector<GridValue> gridValues(double lo, double hi) {
  std::vector<GridValue> values;
  for (const Tick& tick : logTicks(lo, hi)) {
    const double mantissa = tick.value / std::pow(10.0, std::floor(std::log10(tick.value) + 1e-9));
    if (tick.major) values.push_back({tick.value, std::fabs(mantissa - 1) < 1e-6});
  }
  return values;
}

struct Placed {
  Point centre;
  double halfWidth;
};

bool overlaps(const std::vector<Placed>& placed, Point centre, double halfWidth) {
  for (const Placed& p : placed)
    if (std::hypot(p.centre.x - centre.x, p.centre.y - centre.y) < p.halfWidth + halfWidth)
      return true;
  return false;
}

// The label along the segment, near its upper end (left end for falling lines).
void label(const Segment& s, bool atLeft, const std::string& text, Canvas& canvas,
           std::vector<Placed>& placed) {
  const double width = textWidth(text, kFont);
  const double length = std::hypot(s.to.x - s.from.x, s.to.y - s.from.y);
  if (length < width + 44) return;
  const double ux = (s.to.x - s.from.x) / length, uy = (s.to.y - s.from.y) / length;
  const double along = 22 + width / 2;  // the whole text inside the area, clear of its edge
  const Point end = atLeft ? s.from : s.to;
  const double sign = atLeft ? 1 : -1;
  Point centre{end.x + sign * along * ux, end.y + sign * along * uy};
  if (overlaps(placed, centre, width / 2 + 4)) return;
  placed.push_back({centre, width / 2 + 4});
  const double angle = -std::atan2(uy, ux) * 180.0 / M_PI;
  // Baseline 3 px above the line: "up" of the turned text is (uy, -ux) on the screen.
  const Point baseline{centre.x + 3 * uy, centre.y - 3 * ux};
  canvas.text(baseline, text, kFont, Align::Middle, angle, kLabel);
}

template <typename VelocityAt>
void drawFamily(const std::vector<GridValue>& values, bool fewDecades, const std::string& unit,
                bool falling, const Frame& frame, VelocityAt velocityAt, Canvas& canvas,
                std::vector<Placed>& placed) {
  for (const GridValue& value : values) {
    const Point a = frame.at(frame.x.lo, velocityAt(value.value, frame.x.lo));
    const Point b = frame.at(frame.x.hi, velocityAt(value.value, frame.x.hi));
    const std::optional<Segment> segment = insideArea(a, b, frame.area);
    if (!segment) continue;
    canvas.polyline({segment->from, segment->to}, {value.decade ? kDecadeLine : kLine, 0.8});
    if (value.decade || fewDecades)
      label(*segment, falling, tickText(value.value) + " " + unit, canvas, placed);
  }
}

}  // namespace

void drawTripartiteGrid(const Tripartite& grid, const Frame& frame, Canvas& canvas) {
  const double tLo = frame.x.lo, tHi = frame.x.hi, vLo = frame.y.lo, vHi = frame.y.hi;
  const double kD = grid.velocityPerDisplacement, kA = grid.velocityPerAcceleration;
  const double dLo = vLo * tLo / (kTwoPi * kD), dHi = vHi * tHi / (kTwoPi * kD);
  const double aLo = kTwoPi * vLo / (tHi * kA), aHi = kTwoPi * vHi / (tLo * kA);
  std::vector<Placed> placed;
  canvas.clip(frame.area);
  drawFamily(gridValues(dLo, dHi), std::log10(dHi / dLo) <= 2.5, grid.displacementUnit, true,
             frame, [&](double d, double t) { return kTwoPi / t * d * kD; }, canvas, placed);
  drawFamily(gridValues(aLo, aHi), std::log10(aHi / aLo) <= 2.5, grid.accelerationUnit, false,
             frame, [&](double a, double t) { return t / kTwoPi * a * kA; }, canvas, placed);
  canvas.unclip();
}

}  // namespace cli::plot
