// PLplot rendering through its cairo drivers. PLplot keeps global state, so plots are drawn one
// at a time even when records are processed in parallel.
#include "cli/writers/plot_writer.h"

#include <plplot.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <filesystem>
#include <limits>
#include <mutex>

#include "cli/writers/atomic_file.h"
#include "cli/writers/chart.h"
#include "cli/app/error.h"

namespace cli {

namespace {

std::mutex& plotMutex = plplotMutex();  // shared with every other plot of the program

constexpr int kWidth = 1000;
constexpr int kPanelHeight = 560;
constexpr int kAxisColour = 1;
constexpr int kGridColour = 2;
constexpr int kFirstCurveColour = 3;
constexpr std::array<std::array<int, 3>, 8> kCurveColours = {{{31, 119, 180},
                                                              {214, 39, 40},
                                                              {44, 160, 44},
                                                              {255, 127, 14},
                                                              {148, 103, 189},
                                                              {140, 86, 75},
                                                              {227, 119, 194},
                                                              {23, 190, 207}}};

struct Axes {
  bool logX = false;
  bool logY = false;
};

Axes axesOf(const std::string& name) {
  if (name == "lin") return {};
  if (name == "logx") return {true, false};
  if (name == "logy") return {false, true};
  if (name == "loglog") return {true, true};
  throw Error("--axes: unknown '" + name + "' (known: lin, logx, logy, loglog)");
}

std::string deviceFor(const std::string& path) {
  const std::string extension = std::filesystem::path(path).extension().string();
  if (extension == ".png" || extension == ".PNG") return "pngcairo";
  if (extension == ".svg" || extension == ".SVG") return "svgcairo";
  throw Error(path + ": plots are written as .png or .svg");
}

bool deviceAvailable(const std::string& device) {
  // plgDevs fills arrays that the caller provides, up to the count passed in.
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

struct Curve {
  std::vector<double> x, y;
};

Curve curveOf(const std::vector<double>& periods, const std::vector<double>& values, Axes axes) {
  Curve curve;
  for (std::size_t i = 0; i < periods.size(); ++i) {
    const double x = periods[i], y = values[i];
    if (!std::isfinite(x) || !std::isfinite(y) || (axes.logX && x <= 0) || (axes.logY && y <= 0))
      continue;
    curve.x.push_back(axes.logX ? std::log10(x) : x);
    curve.y.push_back(axes.logY ? std::log10(y) : y);
  }
  return curve;
}

struct Bounds {
  double xMin = std::numeric_limits<double>::infinity(), xMax = -xMin;
  double yMin = xMin, yMax = -xMin;
};

Bounds boundsOf(const std::vector<Curve>& curves, Axes axes) {
  Bounds b;
  for (const Curve& curve : curves)
    for (std::size_t i = 0; i < curve.x.size(); ++i) {
      b.xMin = std::min(b.xMin, curve.x[i]);
      b.xMax = std::max(b.xMax, curve.x[i]);
      b.yMin = std::min(b.yMin, curve.y[i]);
      b.yMax = std::max(b.yMax, curve.y[i]);
    }
  if (!axes.logY) b.yMin = std::min(b.yMin, 0.0);  // spectra read best from zero
  const double xPad = b.xMax > b.xMin ? 0.0 : 0.5;
  const double yPad = b.yMax > b.yMin ? 0.05 * (b.yMax - b.yMin) : 0.5;
  return {b.xMin - xPad, b.xMax + xPad, b.yMin, b.yMax + yPad};
}

void setColours() {
  plscol0(kAxisColour, 0, 0, 0);
  plscol0(kGridColour, 210, 210, 210);
  for (std::size_t i = 0; i < kCurveColours.size(); ++i)
    plscol0(kFirstCurveColour + static_cast<int>(i), kCurveColours[i][0], kCurveColours[i][1],
            kCurveColours[i][2]);
}

int curveColour(std::size_t j) {
  return kFirstCurveColour + static_cast<int>(j % kCurveColours.size());
}

// Top right, unless the curves end high there (displacement spectra do): then bottom right.
PLINT legendCorner(const std::vector<Curve>& curves, const Bounds& b) {
  int high = 0, ends = 0;
  for (const Curve& curve : curves)
    if (!curve.y.empty()) {
      ++ends;
      if (curve.y.back() > 0.5 * (b.yMin + b.yMax)) ++high;
    }
  return PL_POSITION_RIGHT | PL_POSITION_INSIDE |
         (2 * high > ends ? PL_POSITION_BOTTOM : PL_POSITION_TOP);
}

void drawLegend(const Spectrum& spectrum, PLINT corner) {
  const std::size_t n = spectrum.sweptValues().size();
  std::vector<std::string> labels;
  for (std::size_t j = 0; j < n; ++j) labels.push_back(plotText(spectrum.sweptLabel(j)));
  std::vector<const char*> texts;
  for (const std::string& label : labels) texts.push_back(label.c_str());
  std::vector<PLINT> options(n, PL_LEGEND_LINE), colours(n), styles(n, 1),
      textColours(n, kAxisColour);
  std::vector<PLFLT> widths(n, 2.0);
  for (std::size_t j = 0; j < n; ++j) colours[j] = curveColour(j);
  PLFLT width = 0, height = 0;
  pllegend(&width, &height, PL_LEGEND_BACKGROUND | PL_LEGEND_BOUNDING_BOX, corner, 0.02, 0.02, 0.08,
           0, kAxisColour, 1, 0, 0, static_cast<PLINT>(n), options.data(), 1.0, 0.9, 2.0, 0.0,
           textColours.data(), texts.data(), nullptr, nullptr, nullptr, nullptr, colours.data(),
           styles.data(), widths.data(), nullptr, nullptr, nullptr, nullptr);
}

void drawPanel(const Spectrum& spectrum, const std::string& field, Axes axes,
               const std::string& title) {
  std::vector<Curve> curves;
  for (std::size_t j = 0; j < spectrum.sweptValues().size(); ++j)
    curves.push_back(curveOf(spectrum.periods(), spectrum.column(field, j), axes));
  const Bounds b = boundsOf(curves, axes);
  if (!(b.xMin <= b.xMax) || !(b.yMin <= b.yMax))
    throw Error("nothing to plot for " + field + ": no value the axes can show");
  pladv(0);
  plvsta();
  plwind(b.xMin, b.xMax, b.yMin, b.yMax);
  plwidth(1.0);
  plcol0(kGridColour);
  plbox(axes.logX ? "gl" : "g", 0, 0, axes.logY ? "gl" : "g", 0, 0);
  plcol0(kAxisColour);
  plbox(axes.logX ? "bcnstl" : "bcnst", 0, 0, axes.logY ? "bcnstvl" : "bcnstv", 0, 0);
  pllab("period T [s]", plotText(spectrum.fieldLabel(field)).c_str(), plotText(title).c_str());
  plwidth(2.0);
  for (std::size_t j = 0; j < curves.size(); ++j) {
    plcol0(curveColour(j));
    plline(static_cast<PLINT>(curves[j].x.size()), curves[j].x.data(), curves[j].y.data());
  }
  plwidth(1.0);
  drawLegend(spectrum, legendCorner(curves, b));
}

void render(const Spectrum& spectrum, const std::vector<std::string>& fields, Axes axes,
            const std::string& device, const std::string& file) {
  plsdev(device.c_str());
  plsfnam(file.c_str());
  plspage(0, 0, kWidth, kPanelHeight * static_cast<PLINT>(fields.size()), 0, 0);
  plssub(1, static_cast<PLINT>(fields.size()));
  plscolbg(255, 255, 255);
  plinit();
  setColours();
  const std::string title = spectrum.module->name + ": " + spectrum.title;
  try {
    for (const std::string& field : fields) drawPanel(spectrum, field, axes, title);
  } catch (...) {
    plend();
    throw;
  }
  plend();
}

}  // namespace

void checkPlotRequest(const std::string& axes, const std::string& path) {
  axesOf(axes);
  deviceFor(path);
}

void writePlot(const Spectrum& spectrum, const std::vector<std::string>& fields,
               const std::string& axes, const std::string& path) {
  const Axes chosen = axesOf(axes);
  const std::string device = deviceFor(path);
  std::lock_guard<std::mutex> lock(plotMutex);
  if (!deviceAvailable(device))
    throw Error(path + ": PLplot has no '" + device + "' driver (install plplot-driver-cairo)");
  AtomicFile file(path);
  render(spectrum, fields, chosen, device, file.temporaryPath());
  file.commit();
}

}  // namespace cli
