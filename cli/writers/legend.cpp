// Legend sizes from the measured label widths; rows 1.45 font sizes apart.
#include "cli/writers/legend.h"

#include <algorithm>

namespace cli::plot {

namespace {

const Font kFont{12.0, false};
constexpr double kPad = 7.0, kSwatch = 26.0, kGap = 7.0, kInset = 8.0;
constexpr double kRow = 1.45 * 12.0;

Rect boxAt(int corner, double width, double height, const Rect& area) {
  const bool right = corner == 0 || corner == 2, top = corner < 2;
  return {right ? area.right() - kInset - width : area.left + kInset,
          top ? area.top + kInset : area.bottom() - kInset - height, width, height};
}

std::size_t covered(const Rect& box, const std::vector<Point>& points) {
  return static_cast<std::size_t>(std::count_if(points.begin(), points.end(), [&](Point p) {
    return p.x >= box.left && p.x <= box.right() && p.y >= box.top && p.y <= box.bottom();
  }));
}

void drawEntry(const LegendEntry& entry, double left, double middle, Canvas& canvas) {
  if (entry.band) {
    canvas.polygon({{left, middle - 5}, {left + kSwatch, middle - 5}, {left + kSwatch, middle + 5},
                    {left, middle + 5}},
                   entry.stroke.colour, entry.opacity);
  } else {
    canvas.polyline({{left, middle}, {left + kSwatch, middle}}, entry.stroke);
    if (entry.marker) canvas.dot({left + kSwatch / 2, middle}, 1.6 * entry.stroke.width, entry.stroke.colour);
  }
  canvas.text({left + kSwatch + kGap, middle + kCapHeight * kFont.size / 2}, entry.label, kFont,
              Align::Start, 0, {});
}

}  // namespace

void drawLegend(const std::vector<LegendEntry>& entries, const std::vector<Point>& occupied,
                const Rect& area, Canvas& canvas) {
  if (entries.empty()) return;
  double textWidthMax = 0;
  for (const LegendEntry& e : entries) textWidthMax = std::max(textWidthMax, textWidth(e.label, kFont));
  const double width = 2 * kPad + kSwatch + kGap + textWidthMax;
  const double height = 2 * kPad + kRow * static_cast<double>(entries.size()) - (kRow - kFont.size);
  Rect best = boxAt(0, width, height, area);
  std::size_t fewest = covered(best, occupied);
  for (int corner = 1; corner < 4 && fewest > 0; ++corner) {
    const Rect box = boxAt(corner, width, height, area);
    const std::size_t count = covered(box, occupied);
    if (count < fewest) {
      best = box;
      fewest = count;
    }
  }
  canvas.rectangle(best, {255, 255, 255}, {{190, 190, 190}, 0.8});
  for (std::size_t i = 0; i < entries.size(); ++i)
    drawEntry(entries[i], best.left + kPad, best.top + kPad + kFont.size / 2 + kRow * static_cast<double>(i),
              canvas);
}

}  // namespace cli::plot
