// PLplot rendering of line charts through the cairo drivers.
#include "cli/writers/chart.h"

#include <fmt/format.h>
#include <plplot.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <limits>

#include "cli/app/error.h"
#include "cli/writers/atomic_file.h"

namespace cli {

namespace {

constexpr int kWidth = 1000;
constexpr int kAxisColour = 1;
constexpr int kGridColour = 2;
constexpr int kFirstCurveColour = 3;
constexpr std::array<std::array<int, 3>, 8> kPalette = {{{31, 119, 180},
                                                         {214, 39, 40},
                                                         {44, 160, 44},
                                                         {255, 127, 14},
                                                         {148, 103, 189},
                                                         {140, 86, 75},
                                                         {127, 127, 127},
                                                         {23, 190, 207}}};

std::string deviceFor(const std::string& path) {
  const std::string extension = std::filesystem::path(path).extension().string();
  if (extension == ".png" || extension == ".PNG") return "pngcairo";
  if (extension == ".svg" || extension == ".SVG") return "svgcairo";
  throw Error(path + ": plots are written as .png or .svg");
}

bool deviceAvailable(const std::string& device) {
  std::vector<const char*> menu(256, nullptr), names(256, nullptr);
  const char** menuData = menu.data();
  const char** namesData = names.data();
  int count = static_cast<int>(names.size());
  plgDevs(&menuData, &namesData, &count);
  for (int i = 0; i < count; ++i)
    if (device == names[i]) return true;
  return false;
}

// PLplot reads '#' as the start of an escape sequence.
std::string plotText(std::string text) {
  for (auto at = text.find('#'); at != std::string::npos; at = text.find('#', at + 2))
    text.insert(at, "#");
  return text;
}

// The runs of a curve that the axes can show, in plot coordinates (log10 on a log axis).
std::vector<std::pair<std::vector<double>, std::vector<double>>> segmentsOf(const ChartCurve& c,
                                                                              const ChartPanel& p) {
  std::vector<std::pair<std::vector<double>, std::vector<double>>> segments(1);
  const std::size_t n = std::min(c.x.size(), c.y.size());
  for (std::size_t i = 0; i < n; ++i) {
    const double x = c.x[i], y = c.y[i];
    const bool shown =
        std::isfinite(x) && std::isfinite(y) && !(p.logX && x <= 0) && !(p.logY && y <= 0);
    if (!shown) {
      if (!segments.back().first.empty()) segments.emplace_back();
      continue;
    }
    segments.back().first.push_back(p.logX ? std::log10(x) : x);
    segments.back().second.push_back(p.logY ? std::log10(y) : y);
  }
  if (segments.back().first.empty()) segments.pop_back();
  return segments;
}

struct Bounds {
  double xMin = std::numeric_limits<double>::infinity(), xMax = -xMin;
  double yMin = xMin, yMax = -xMin;
};

Bounds boundsOf(const ChartPanel& p) {
  Bounds b;
  for (const ChartCurve& c : p.curves)
    for (const auto& [xs, ys] : segmentsOf(c, p))
      for (std::size_t i = 0; i < xs.size(); ++i) {
        b.xMin = std::min(b.xMin, xs[i]);
        b.xMax = std::max(b.xMax, xs[i]);
        b.yMin = std::min(b.yMin, ys[i]);
        b.yMax = std::max(b.yMax, ys[i]);
      }
  if (!(b.xMin <= b.xMax)) throw Error("nothing to plot in '" + p.title + "': no value the axes can show");
  const bool fixedX = std::isfinite(p.xFrom) && std::isfinite(p.xTo) && p.xFrom < p.xTo &&
                      !(p.logX && p.xFrom <= 0);
  if (fixedX) {
    b.xMin = p.logX ? std::log10(p.xFrom) : p.xFrom;
    b.xMax = p.logX ? std::log10(p.xTo) : p.xTo;
  }
  if (!p.logY && p.yFromZero) {
    b.yMin = std::min(b.yMin, 0.0);
    b.yMax = std::max(b.yMax, 0.0);
  }
  const double xPad = b.xMax > b.xMin ? 0.0 : 0.5;
  const double ySpan = b.yMax - b.yMin;
  const double yPad = ySpan > 0 ? 0.05 * ySpan : (p.logY ? 0.5 : std::max(0.5, std::fabs(b.yMax)));
  const bool lowAtZero = !p.logY && b.yMin == 0.0;
  return {b.xMin - xPad, b.xMax + xPad, lowAtZero ? 0.0 : b.yMin - yPad, b.yMax + yPad};
}

void setColours() {
  plscol0(kAxisColour, 0, 0, 0);
  plscol0(kGridColour, 215, 215, 215);
  for (std::size_t i = 0; i < kPalette.size(); ++i)
    plscol0(kFirstCurveColour + static_cast<int>(i), kPalette[i][0], kPalette[i][1],
            kPalette[i][2]);
}

int colourOf(const ChartCurve& c, std::size_t position) {
  const std::size_t index = c.colour >= 0 ? static_cast<std::size_t>(c.colour) : position;
  return kFirstCurveColour + static_cast<int>(index % kPalette.size());
}

PLINT styleOf(LineStyle style) {
  switch (style) {
    case LineStyle::Solid: return 1;
    case LineStyle::Dashed: return 3;
    case LineStyle::Dotted: return 2;
  }
  return 1;
}

// Labelled values of a log axis from lo to hi (decades, log10): 1, 2 and 5 of each decade, or
// every whole mantissa when that gives fewer than three labels.
std::vector<double> logLabels(double lo, double hi) {
  for (const std::vector<int>& mantissas : {std::vector<int>{1, 2, 5}, {1, 2, 3, 4, 5, 6, 7, 8, 9}}) {
    std::vector<double> values;
    for (int k = static_cast<int>(std::floor(lo)) - 1; k <= static_cast<int>(std::ceil(hi)); ++k)
      for (int m : mantissas) {
        const double v = std::log10(static_cast<double>(m)) + k;
        if (v >= lo - 1e-9 && v <= hi + 1e-9) values.push_back(v);
      }
    if (values.size() >= 3 || mantissas.size() == 9) return values;
  }
  return {};
}

std::string logLabelText(double v) { return fmt::format("{:g}", std::pow(10.0, v)); }

// The frame: grid, ticks and numbers; log axes get their own 1-2-5 grid and labels.
void drawFrame(const ChartPanel& p, const Bounds& b) {
  plcol0(kGridColour);
  plwidth(1.0);
  plbox(p.logX ? "" : "g", 0, 0, p.logY ? "" : "g", 0, 0);
  if (p.logX)
    for (double v : logLabels(b.xMin, b.xMax)) {
      const PLFLT x[2] = {v, v}, y[2] = {b.yMin, b.yMax};
      plline(2, x, y);
    }
  if (p.logY)
    for (double v : logLabels(b.yMin, b.yMax)) {
      const PLFLT x[2] = {b.xMin, b.xMax}, y[2] = {v, v};
      plline(2, x, y);
    }
  plcol0(kAxisColour);
  plbox(p.logX ? "bcstl" : "bcnst", 0, 0, p.logY ? "bcstvl" : "bcnstv", 0, 0);
  if (p.logX)
    for (double v : logLabels(b.xMin, b.xMax))
      plmtex("b", 1.6, (v - b.xMin) / (b.xMax - b.xMin), 0.5, logLabelText(v).c_str());
  if (p.logY)
    for (double v : logLabels(b.yMin, b.yMax))
      plmtex("lv", 0.8, (v - b.yMin) / (b.yMax - b.yMin), 1.0, logLabelText(v).c_str());
}

// Where a legend goes: inside, in the corner whose box covers no point of the curves (lines
// between points counted), or, when every corner does, outside below the axes in columns.
struct LegendPlace {
  bool inside = true;
  PLINT corner = PL_POSITION_TOP | PL_POSITION_RIGHT;
  int columns = 1;
  int rows = 0;
  double offset = 0.02;  // from the axes, in fractions of their height
};

std::vector<const ChartCurve*> labelled(const ChartPanel& p) {
  std::vector<const ChartCurve*> curves;
  for (const ChartCurve& c : p.curves)
    if (!c.label.empty()) curves.push_back(&c);
  return curves;
}

// A legend row is about kRowPixels high and a character kCharPixels wide; the axes take about
// three quarters of a panel's height and four fifths of its width.
constexpr double kRowPixels = 32.0;
constexpr double kCharPixels = 10.0;
constexpr double kLeftMargin = 110.0, kRightMargin = 40.0, kTopMargin = 50.0, kBottomMargin = 75.0;

LegendPlace legendPlace(const ChartPanel& p, const Bounds& b, int panelHeight) {
  std::size_t longest = 0;
  const std::vector<const ChartCurve*> curves = labelled(p);
  for (const ChartCurve* c : curves) longest = std::max(longest, c->label.size());
  const double axesWidth = 0.8 * kWidth, axesHeight = 0.72 * panelHeight;
  const double width = std::min(1.0, (100.0 + kCharPixels * static_cast<double>(longest)) / axesWidth);
  const double height =
      std::min(1.0, (12.0 + kRowPixels * static_cast<double>(curves.size())) / axesHeight);
  const std::array<PLINT, 4> corners = {PL_POSITION_TOP | PL_POSITION_RIGHT,
                                        PL_POSITION_TOP | PL_POSITION_LEFT,
                                        PL_POSITION_BOTTOM | PL_POSITION_RIGHT,
                                        PL_POSITION_BOTTOM | PL_POSITION_LEFT};
  std::array<bool, 4> covered{};
  const auto cover = [&](double x, double y) {
    for (std::size_t k = 0; k < corners.size(); ++k) {
      const bool right = corners[k] & PL_POSITION_RIGHT, top = corners[k] & PL_POSITION_TOP;
      if ((right ? x >= 1.0 - width : x <= width) && (top ? y >= 1.0 - height : y <= height))
        covered[k] = true;
    }
  };
  constexpr int kSteps = 16;  // points along each line between two samples
  for (const ChartCurve& c : p.curves)
    for (const auto& [xs, ys] : segmentsOf(c, p))
      for (std::size_t i = 0; i < xs.size(); ++i) {
        const double x = (xs[i] - b.xMin) / (b.xMax - b.xMin);
        const double y = (ys[i] - b.yMin) / (b.yMax - b.yMin);
        cover(x, y);
        if (i + 1 == xs.size()) continue;
        const double x1 = (xs[i + 1] - b.xMin) / (b.xMax - b.xMin);
        const double y1 = (ys[i + 1] - b.yMin) / (b.yMax - b.yMin);
        for (int k = 1; k < kSteps; ++k)
          cover(x + (x1 - x) * k / kSteps, y + (y1 - y) * k / kSteps);
      }
  LegendPlace place;
  for (std::size_t k = 0; k < corners.size(); ++k)
    if (!covered[k]) {
      place.corner = corners[k];
      return place;
    }
  place.inside = false;
  place.corner = PL_POSITION_BOTTOM;
  place.columns = longest > 40 ? 1 : longest > 22 ? 2 : 3;
  place.columns = std::min<int>(place.columns, static_cast<int>(curves.size()));
  place.rows = static_cast<int>((curves.size() + place.columns - 1) / place.columns);
  return place;
}

void drawLegend(const ChartPanel& p, const LegendPlace& place) {
  std::vector<std::string> labels;
  std::vector<PLINT> colours, styles;
  std::vector<PLFLT> widths;
  for (std::size_t k = 0; k < p.curves.size(); ++k) {
    const ChartCurve& c = p.curves[k];
    if (c.label.empty()) continue;
    labels.push_back(plotText(c.label));
    colours.push_back(colourOf(c, k));
    styles.push_back(styleOf(c.style));
    widths.push_back(c.width);
  }
  if (labels.empty()) return;
  const auto n = static_cast<PLINT>(labels.size());
  std::vector<const char*> texts;
  for (const std::string& label : labels) texts.push_back(label.c_str());
  std::vector<PLINT> options(labels.size(), PL_LEGEND_LINE), textColours(labels.size(), kAxisColour);
  PLFLT width = 0, height = 0;
  const PLINT position =
      place.corner | (place.inside ? PL_POSITION_INSIDE : PL_POSITION_OUTSIDE);
  const PLINT opt = PL_LEGEND_BACKGROUND | (place.inside ? PL_LEGEND_BOUNDING_BOX : 0) |
                    (place.inside ? 0 : PL_LEGEND_ROW_MAJOR);
  pllegend(&width, &height, opt, position, 0.02, place.offset, 0.06, 0, kAxisColour, 1,
           place.inside ? 0 : place.rows, place.inside ? 0 : place.columns, n, options.data(), 1.0,
           0.9, 2.0, 0.0, textColours.data(), texts.data(), nullptr, nullptr, nullptr, nullptr,
           colours.data(), styles.data(), widths.data(), nullptr, nullptr, nullptr, nullptr);
}

void drawPanel(const ChartPanel& p, int panelHeight) {
  const Bounds b = boundsOf(p);
  LegendPlace place = legendPlace(p, b, panelHeight);
  pladv(0);
  // Margins in pixels: numbers and axis titles, and below the axes the rows of an outside legend.
  const double h = panelHeight;
  const double bottom = kBottomMargin + (place.inside ? 0.0 : kRowPixels * place.rows + 8.0);
  plvpor(kLeftMargin / kWidth, 1.0 - kRightMargin / kWidth, bottom / h, 1.0 - kTopMargin / h);
  if (!place.inside) place.offset = (kBottomMargin - 6.0) / (h - bottom - kTopMargin);
  plwind(b.xMin, b.xMax, b.yMin, b.yMax);
  drawFrame(p, b);
  pllab("", plotText(p.yLabel).c_str(), "");
  plschr(0, 0.9);  // titles name records, which can be long
  plmtex("t", 1.6, 0.5, 0.5, plotText(p.title).c_str());
  plschr(0, 1.0);
  plmtex("b", p.logX ? 3.4 : 3.2, 0.5, 0.5, plotText(p.xLabel).c_str());
  for (std::size_t k = 0; k < p.curves.size(); ++k) {
    const ChartCurve& c = p.curves[k];
    plcol0(colourOf(c, k));
    pllsty(styleOf(c.style));
    plwidth(c.width);
    for (const auto& [xs, ys] : segmentsOf(c, p))
      plline(static_cast<PLINT>(xs.size()), xs.data(), ys.data());
  }
  pllsty(1);
  plwidth(1.0);
  drawLegend(p, place);
}

void render(const Chart& chart, const std::string& device, const std::string& file) {
  plsdev(device.c_str());
  plsfnam(file.c_str());
  const auto panels = static_cast<PLINT>(chart.panels.size());
  plspage(0, 0, kWidth, chart.panelHeight * panels, 0, 0);
  plssub(1, panels);
  plscolbg(255, 255, 255);
  plinit();
  setColours();
  try {
    for (const ChartPanel& panel : chart.panels) drawPanel(panel, chart.panelHeight);
  } catch (...) {
    plend();
    throw;
  }
  plend();
}

}  // namespace

std::mutex& plplotMutex() {
  static std::mutex mutex;
  return mutex;
}

void checkChartPath(const std::string& path) { deviceFor(path); }

void spanPeriods(ChartPanel& panel, const std::vector<double>& periods) {
  if (periods.empty()) return;
  const auto [lo, hi] = std::minmax_element(periods.begin(), periods.end());
  panel.xFrom = *lo;
  panel.xTo = *hi;
}

void writeChart(const Chart& chart, const std::string& path) {
  const std::string device = deviceFor(path);
  if (chart.panels.empty()) throw Error(path + ": nothing to plot");
  for (const ChartPanel& panel : chart.panels) boundsOf(panel);  // fail before any file exists
  std::lock_guard<std::mutex> lock(plplotMutex());
  if (!deviceAvailable(device))
    throw Error(path + ": PLplot has no '" + device + "' driver (install plplot-driver-cairo)");
  AtomicFile file(path);
  render(chart, device, file.temporaryPath());
  file.commit();
}

}  // namespace cli
