// Panel layout: the plot area is what is left of the panel after the y label, the widest y tick
// label, the x tick labels and the x label; tick labels that would overlap are dropped, minor
// ones first.
#include "cli/writers/figure_renderer.h"

#include <algorithm>
#include <cmath>

#include "cli/writers/axis_scale.h"
#include "cli/writers/legend.h"
#include "cli/writers/tripartite_grid.h"

namespace cli::plot {

namespace {

const Font kTitleFont{16.0, true};
const Font kSubtitleFont{12.5, false};
const Font kLabelFont{13.0, false};
const Font kTickFont{11.0, false};
const Font kPanelTitleFont{12.5, true};
const Colour kBlack{0, 0, 0};
const Colour kGrey{90, 90, 90};
const Colour kMajorGrid{222, 222, 222};
const Colour kMinorGrid{240, 240, 240};
constexpr double kMargin = 12.0;
constexpr double kTickLength = 5.0;

// The text in lines no wider than width, broken at spaces (a longer word keeps a line alone).
std::vector<std::string> wrapped(const std::string& text, const Font& font, double width) {
  std::vector<std::string> lines;
  std::string line;
  std::size_t start = 0;
  while (start <= text.size() && !text.empty()) {
    std::size_t end = text.find(' ', start);
    if (end == std::string::npos) end = text.size();
    const std::string word = text.substr(start, end - start);
    const std::string longer = line.empty() ? word : line + " " + word;
    if (!line.empty() && textWidth(longer, font) > width) {
      lines.push_back(line);
      line = word;
    } else {
      line = longer;
    }
    start = end + 1;
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

double textRoom(const Figure& f) { return f.width - 2 * kMargin; }

double titleBlockHeight(const Figure& f) {
  const auto titleLines = static_cast<double>(wrapped(f.title, kTitleFont, textRoom(f)).size());
  const auto subtitleLines =
      static_cast<double>(wrapped(f.subtitle, kSubtitleFont, textRoom(f)).size());
  return kMargin + titleLines * (kTitleFont.size + 6) + subtitleLines * (kSubtitleFont.size + 6) +
         4;
}

int rowsOf(const Figure& f) {
  const int columns = std::max(1, f.columns);
  return (static_cast<int>(f.panels.size()) + columns - 1) / columns;
}

// Every value a panel puts on each axis.
void collect(const Panel& panel, std::vector<double>& xs, std::vector<double>& ys) {
  for (const Series& s : panel.series) {
    xs.insert(xs.end(), s.x.begin(), s.x.end());
    ys.insert(ys.end(), s.y.begin(), s.y.end());
  }
  for (const Band& b : panel.bands) {
    xs.insert(xs.end(), b.x.begin(), b.x.end());
    ys.insert(ys.end(), b.lower.begin(), b.lower.end());
    ys.insert(ys.end(), b.upper.begin(), b.upper.end());
  }
}

// Drops labels that would come closer than `gap` px to a kept one: majors are placed first.
void thinLabels(std::vector<Tick>& ticks, const std::vector<double>& positions,
                const std::vector<double>& sizes, double gap) {
  std::vector<std::pair<double, double>> kept;  // centre, half size
  const auto fits = [&](std::size_t i) {
    for (const auto& [centre, half] : kept)
      if (std::fabs(positions[i] - centre) < half + sizes[i] / 2 + gap) return false;
    return true;
  };
  for (int pass = 0; pass < 2; ++pass)
    for (std::size_t i = 0; i < ticks.size(); ++i) {
      if (ticks[i].label.empty() || ticks[i].major != (pass == 0)) continue;
      if (fits(i))
        kept.emplace_back(positions[i], sizes[i] / 2);
      else
        ticks[i].label.clear();
    }
}

double widestLabel(const std::vector<Tick>& ticks) {
  double widest = 0;
  for (const Tick& t : ticks) widest = std::max(widest, textWidth(t.label, kTickFont));
  return widest;
}

double headingRoom(const Panel& panel) { return panel.title.empty() ? 0.0 : kPanelTitleFont.size + 6; }

double plotHeight(const Rect& outer) {
  return outer.height - 10 - (kTickLength + 4 + kTickFont.size + 10 + kLabelFont.size + 8);
}

AxisScale yScaleOf(const Panel& panel, double height) {
  std::vector<double> xs, ys;
  collect(panel, xs, ys);
  return scaleFor(panel.y, ys, height);
}

// Room left of the plot area for the y label and the widest y tick label.
double leftRoom(const Panel& panel, double height) {
  return 10 + kLabelFont.size + 10 +
         widestLabel(yScaleOf(panel, height - headingRoom(panel)).ticks) + kTickLength + 4;
}

// `left`: the room left of the plot area, the same for every panel of a column so that stacked
// panels line up.
Frame frameOf(const Panel& panel, const Rect& outer, double left) {
  std::vector<double> xs, ys;
  collect(panel, xs, ys);
  const double heading = headingRoom(panel);
  const double height = plotHeight(outer) - heading;
  AxisScale y = yScaleOf(panel, height);
  const double width = outer.width - left - 22;
  AxisScale x = scaleFor(panel.x, xs, width);
  return {{outer.left + left, outer.top + 10 + heading, width, height}, std::move(x), std::move(y)};
}

void drawGrid(const Frame& f, Canvas& canvas) {
  for (const Tick& t : f.x.ticks) {
    const double px = f.at(t.value, f.y.lo).x;
    canvas.polyline({{px, f.area.top}, {px, f.area.bottom()}},
                    {t.label.empty() && !t.major ? kMinorGrid : kMajorGrid, 0.8});
  }
  for (const Tick& t : f.y.ticks) {
    const double py = f.at(f.x.lo, t.value).y;
    canvas.polyline({{f.area.left, py}, {f.area.right(), py}},
                    {t.label.empty() && !t.major ? kMinorGrid : kMajorGrid, 0.8});
  }
}

void drawXAxis(const Panel& panel, Frame& f, Canvas& canvas) {
  std::vector<double> positions, sizes;
  for (const Tick& t : f.x.ticks) {
    positions.push_back(f.at(t.value, f.y.lo).x);
    sizes.push_back(textWidth(t.label, kTickFont));
  }
  thinLabels(f.x.ticks, positions, sizes, 8);
  const double base = f.area.bottom();
  for (std::size_t i = 0; i < f.x.ticks.size(); ++i) {
    const Tick& t = f.x.ticks[i];
    const double length = t.label.empty() && !t.major ? kTickLength * 0.6 : kTickLength;
    canvas.polyline({{positions[i], base}, {positions[i], base - length}}, {kBlack, 0.8});
    if (!t.label.empty())
      canvas.text({positions[i], base + kTickLength + 4 + kCapHeight * kTickFont.size}, t.label,
                  kTickFont, Align::Middle, 0, kBlack);
  }
  canvas.text({f.area.left + f.area.width / 2,
               base + kTickLength + 4 + kTickFont.size + 10 + kCapHeight * kLabelFont.size},
              panel.x.label, kLabelFont, Align::Middle, 0, kBlack);
}

void drawYAxis(const Panel& panel, Frame& f, const Rect& outer, Canvas& canvas) {
  std::vector<double> positions, sizes;
  for (const Tick& t : f.y.ticks) {
    positions.push_back(f.at(f.x.lo, t.value).y);
    sizes.push_back(kTickFont.size);
  }
  thinLabels(f.y.ticks, positions, sizes, 4);
  for (std::size_t i = 0; i < f.y.ticks.size(); ++i) {
    const Tick& t = f.y.ticks[i];
    const double length = t.label.empty() && !t.major ? kTickLength * 0.6 : kTickLength;
    canvas.polyline({{f.area.left, positions[i]}, {f.area.left + length, positions[i]}},
                    {kBlack, 0.8});
    if (!t.label.empty())
      canvas.text({f.area.left - kTickLength - 4, positions[i] + kCapHeight * kTickFont.size / 2},
                  t.label, kTickFont, Align::End, 0, kBlack);
  }
  canvas.text({outer.left + 10 + kCapHeight * kLabelFont.size + 2, f.area.top + f.area.height / 2},
              panel.y.label, kLabelFont, Align::Middle, 90, kBlack);
}

Colour colourOf(int index) {
  const std::vector<std::string>& p = palette();
  return plot::colourOf(p[static_cast<std::size_t>(index) % p.size()]);
}

// The runs of points the axes can show; a point they cannot show ends a run.
std::vector<std::vector<Point>> runsOf(const std::vector<double>& x, const std::vector<double>& y,
                                       const Frame& f) {
  std::vector<std::vector<Point>> runs(1);
  for (std::size_t i = 0; i < std::min(x.size(), y.size()); ++i) {
    if (f.x.shows(x[i]) && f.y.shows(y[i]))
      runs.back().push_back(f.at(x[i], y[i]));
    else if (!runs.back().empty())
      runs.emplace_back();
  }
  if (runs.back().empty()) runs.pop_back();
  return runs;
}

// Points along every segment, a few px apart, for placing the legend clear of the lines.
void sample(const std::vector<Point>& run, std::vector<Point>& occupied) {
  for (std::size_t i = 0; i < run.size(); ++i) {
    occupied.push_back(run[i]);
    if (i + 1 == run.size()) break;
    const double dx = run[i + 1].x - run[i].x, dy = run[i + 1].y - run[i].y;
    const int steps = std::min(200, static_cast<int>(std::hypot(dx, dy) / 4));
    for (int k = 1; k < steps; ++k)
      occupied.push_back({run[i].x + dx * k / steps, run[i].y + dy * k / steps});
  }
}

void drawBand(const Band& band, const Frame& f, Canvas& canvas) {
  std::vector<Point> upper, lower;
  const auto flush = [&] {
    if (upper.size() >= 2) {
      std::vector<Point> outline = upper;
      outline.insert(outline.end(), lower.rbegin(), lower.rend());
      canvas.polygon(outline, colourOf(band.colour), band.opacity);
    }
    upper.clear();
    lower.clear();
  };
  for (std::size_t i = 0; i < band.x.size() && i < band.lower.size() && i < band.upper.size(); ++i) {
    if (f.x.shows(band.x[i]) && f.y.shows(band.lower[i]) && f.y.shows(band.upper[i])) {
      upper.push_back(f.at(band.x[i], band.upper[i]));
      lower.push_back(f.at(band.x[i], band.lower[i]));
    } else {
      flush();
    }
  }
  flush();
}

std::vector<LegendEntry> drawData(const Panel& panel, const Frame& f, Canvas& canvas,
                                  std::vector<Point>& occupied) {
  std::vector<LegendEntry> entries;
  for (const Band& band : panel.bands) {
    drawBand(band, f, canvas);
    if (!band.label.empty()) entries.push_back({band.label, {colourOf(band.colour), 1}, true, band.opacity});
  }
  for (std::size_t i = 0; i < panel.series.size(); ++i) {
    const Series& s = panel.series[i];
    const Stroke stroke{colourOf(s.colour >= 0 ? s.colour : static_cast<int>(i)), s.width, s.dash};
    for (const std::vector<Point>& run : runsOf(s.x, s.y, f)) {
      if (run.size() > 1) canvas.polyline(run, stroke);
      if (run.size() == 1 || s.markers)
        for (const Point& p : run) canvas.dot(p, 1.6 * s.width, stroke.colour);
      sample(run, occupied);
    }
    if (!s.label.empty()) entries.push_back({s.label, stroke, false, 1.0, s.markers});
  }
  return entries;
}

void drawPanel(const Panel& panel, const Rect& outer, double left, Canvas& canvas) {
  Frame f = frameOf(panel, outer, left);
  if (!panel.title.empty())
    canvas.text({f.area.left, f.area.top - 6}, panel.title, kPanelTitleFont, Align::Start, 0, kBlack);
  drawGrid(f, canvas);
  if (panel.tripartite) drawTripartiteGrid(*panel.tripartite, f, canvas);
  drawXAxis(panel, f, canvas);
  drawYAxis(panel, f, outer, canvas);
  canvas.clip(f.area);
  std::vector<Point> occupied;
  const std::vector<LegendEntry> entries = drawData(panel, f, canvas, occupied);
  canvas.unclip();
  const Rect& a = f.area;
  canvas.polyline({{a.left, a.top}, {a.right(), a.top}, {a.right(), a.bottom()},
                   {a.left, a.bottom()}, {a.left, a.top}},
                  {kBlack, 0.9});
  if (panel.legend) drawLegend(entries, occupied, f.area, canvas);
}

}  // namespace

const std::vector<std::string>& palette() {
  static const std::vector<std::string> colours = {"#1f77b4", "#d62728", "#2ca02c", "#ff7f0e",
                                                   "#9467bd", "#8c564b", "#e377c2", "#17becf",
                                                   "#7f7f7f", "#bcbd22"};
  return colours;
}

double figureHeight(const Figure& figure) {
  return titleBlockHeight(figure) + rowsOf(figure) * figure.panelHeight + 6;
}

void drawFigure(const Figure& figure, Canvas& canvas) {
  double y = kMargin;
  for (const std::string& line : wrapped(figure.title, kTitleFont, textRoom(figure))) {
    y += kCapHeight * kTitleFont.size + 4;
    canvas.text({figure.width / 2.0, y}, line, kTitleFont, Align::Middle, 0, kBlack);
    y += 8;
  }
  for (const std::string& line : wrapped(figure.subtitle, kSubtitleFont, textRoom(figure))) {
    y += kCapHeight * kSubtitleFont.size + 4;
    canvas.text({figure.width / 2.0, y}, line, kSubtitleFont, Align::Middle, 0, kGrey);
    y += 4;
  }
  const int columns = std::max(1, figure.columns);
  const double panelWidth = static_cast<double>(figure.width) / columns;
  const double top = titleBlockHeight(figure);
  const auto height = static_cast<double>(figure.panelHeight);
  std::vector<double> left(static_cast<std::size_t>(columns), 0.0);
  for (std::size_t i = 0; i < figure.panels.size(); ++i) {
    double& room = left[i % left.size()];
    room = std::max(room, leftRoom(figure.panels[i], plotHeight({0, 0, panelWidth, height})));
  }
  for (std::size_t i = 0; i < figure.panels.size(); ++i) {
    const auto row = static_cast<double>(i / left.size());
    const auto column = static_cast<double>(i % left.size());
    drawPanel(figure.panels[i], {column * panelWidth, top + row * height, panelWidth, height},
              left[i % left.size()], canvas);
  }
}

}  // namespace cli::plot
