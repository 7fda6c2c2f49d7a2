// Line charts of the measures (histories, loops, RotD, targets, suites) with PLplot: panels
// stacked vertically, curves with legends, gaps left open, 1-2-5 labels on log axes.
#pragma once

#include <limits>
#include <mutex>
#include <string>
#include <vector>

namespace cli {

enum class LineStyle { Solid, Dashed, Dotted };

struct ChartCurve {
  std::vector<double> x, y;
  std::string label;  // legend text; "" keeps the curve out of the legend
  int colour = -1;    // palette index; −1: the curve's position in its panel
  LineStyle style = LineStyle::Solid;
  double width = 2.0;
};

struct ChartPanel {
  std::string title;
  std::string xLabel, yLabel;
  bool logX = false, logY = false;
  bool yFromZero = true;  // a linear y axis includes zero (spectra and histories read from it)
  std::vector<ChartCurve> curves;
  // The x range to show whatever the data (e.g. every period of a spectrum with gaps); unset
  // when both are NaN: the data's.
  double xFrom = std::numeric_limits<double>::quiet_NaN();
  double xTo = std::numeric_limits<double>::quiet_NaN();
};

struct Chart {
  std::vector<ChartPanel> panels;
  int panelHeight = 560;  // pixels of each panel
};

// Shows the panel over every period of a spectrum, also where values are missing.
void spanPeriods(ChartPanel& panel, const std::vector<double>& periods);

// Draws the chart to FILE.png or FILE.svg; the file appears only when complete. Points a log
// axis cannot show and points that are not finite are left out, and a curve is broken there
// rather than joined across. An Error for another extension, a panel with nothing to show, or a
// PLplot without the cairo driver.
void writeChart(const Chart& chart, const std::string& path);

// An Error unless the path ends in .png or .svg.
void checkChartPath(const std::string& path);

// PLplot keeps global state: every plot of the program is drawn under this one lock.
std::mutex& plplotMutex();

}  // namespace cli
