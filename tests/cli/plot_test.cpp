// Plots: ticks that read well, gaps left open, and figures checked in their SVG text.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "cli/app/error.h"
#include "cli/writers/figure_writer.h"
#include "cli/writers/period_gaps.h"
#include "cli/writers/spectrum_plot.h"
#include "cli/writers/ticks.h"

namespace {

using cli::plot::Tick;

std::vector<std::string> labels(const std::vector<Tick>& ticks) {
  std::vector<std::string> texts;
  for (const Tick& tick : ticks)
    if (!tick.label.empty()) texts.push_back(tick.label);
  return texts;
}

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(Ticks, LinearStepsOfOneTwoFive) {
  EXPECT_EQ(cli::plot::niceStep(1.5, 6), 0.25);
  EXPECT_EQ(cli::plot::niceStep(40, 6), 10.0);
  EXPECT_EQ(labels(cli::plot::linearTicks(0, 1.5, 3)), (std::vector<std::string>{"0", "0.5", "1", "1.5"}));
  EXPECT_EQ(labels(cli::plot::linearTicks(0, 0.3, 3)),
            (std::vector<std::string>{"0", "0.1", "0.2", "0.3"}));  // not 0.30000000000000004
  EXPECT_EQ(cli::plot::linearRange(0.1, 3.7, 6), (std::pair<double, double>{0.0, 4.0}));
}

TEST(Ticks, LogAxesLabelEveryDecadeAndEnoughBetween) {
  // Two decades: 1, 2 and 5 of each; nine ticks per decade.
  const std::vector<Tick> periods = cli::plot::logTicks(0.05, 5);
  EXPECT_EQ(labels(periods),
            (std::vector<std::string>{"0.05", "0.1", "0.2", "0.5", "1", "2", "5"}));
  EXPECT_EQ(periods.size(), 19u);
  // Less than a decade and a bit: every multiple.
  EXPECT_EQ(labels(cli::plot::logTicks(0.5, 3)),
            (std::vector<std::string>{"0.5", "0.6", "0.7", "0.8", "0.9", "1", "2", "3"}));
  // Many decades: the decades only.
  EXPECT_EQ(labels(cli::plot::logTicks(1e-3, 1e3)),
            (std::vector<std::string>{"0.001", "0.01", "0.1", "1", "10", "100", "1000"}));
  // The ends of a range that are whole multiples get labels too.
  EXPECT_EQ(labels(cli::plot::logTicks(0.02, 4)),
            (std::vector<std::string>{"0.02", "0.05", "0.1", "0.2", "0.5", "1", "2", "4"}));
  EXPECT_EQ(cli::plot::logRange(0.0231, 3.4), (std::pair<double, double>{0.02, 4.0}));
  EXPECT_EQ(cli::plot::logRange(1, 10), (std::pair<double, double>{1.0, 10.0}));
  EXPECT_EQ(cli::plot::tickText(1e-5), "10⁻⁵");
  EXPECT_EQ(cli::plot::tickText(2e6), "2×10⁶");
  EXPECT_EQ(cli::plot::tickText(0.3), "0.3");
  EXPECT_EQ(cli::plot::tickText(-1.5), "−1.5");
}

TEST(PeriodGaps, SortedWithGapsOpenAndNoFalseGaps) {
  const cli::plot::Curve gap =
      cli::plot::curveOverPeriods({2.1, 0.1, 0.2, 0.3, 2.0, 2.2}, {6, 1, 2, 3, 5, 7}, false);
  ASSERT_EQ(gap.x.size(), 7u);
  EXPECT_EQ(gap.x[2], 0.3);
  EXPECT_TRUE(std::isnan(gap.x[3]) && std::isnan(gap.y[3]));
  for (std::size_t i : {0u, 1u, 2u, 4u, 5u, 6u})
    EXPECT_EQ(gap.y[i], (std::vector<double>{1, 2, 3, 0, 5, 6, 7})[i]);
  // Log-spaced periods on a linear axis have growing steps, but no gaps.
  std::vector<double> logSpaced;
  for (int i = 0; i < 100; ++i) logSpaced.push_back(0.02 * std::pow(500.0, i / 99.0));
  EXPECT_EQ(cli::plot::curveOverPeriods(logSpaced, logSpaced, false).x.size(), 100u);
  // 1-2-5 periods neither.
  EXPECT_EQ(cli::plot::curveOverPeriods({0.1, 0.2, 0.5, 1, 2, 5}, {1, 1, 1, 1, 1, 1}, false).x.size(),
            6u);
}

cli::plot::Figure twoPanelFigure() {
  const double nan = std::nan("");
  cli::plot::Figure figure;
  figure.title = "Title <&> of the figure";
  figure.subtitle = "second line";
  for (int p = 0; p < 2; ++p) {
    cli::plot::Panel panel;
    panel.x.label = "Period T [s]";
    panel.x.scale = cli::plot::Scale::Log;
    panel.y.label = "Sa [g]";
    panel.y.fromZero = true;
    cli::plot::Series s;
    s.x = {0.1, 0.2, nan, 1, 2, nan, 4};  // two runs and an isolated point
    s.y = {1, 2, nan, 2, 1, nan, 0.5};
    s.label = "ζ = 5 %";
    panel.series.push_back(s);
    panel.legend = p == 0;
    figure.panels.push_back(panel);
  }
  return figure;
}

TEST(Figures, SvgKeepsTextAsTextWithOneTitleAndOpenGaps) {
  const std::string svg = cli::plot::svgText(twoPanelFigure());
  EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
  EXPECT_EQ(count(svg, ">Title &lt;&amp;&gt; of the figure</text>"), 1u);
  EXPECT_EQ(count(svg, ">second line</text>"), 1u);
  EXPECT_EQ(count(svg, ">Period T [s]</text>"), 2u);
  EXPECT_EQ(count(svg, "transform=\"rotate(-90.00"), 2u);  // the y labels
  EXPECT_EQ(count(svg, ">ζ = 5 %</text>"), 1u);           // the legend of the first panel only
  // Each panel: the two runs as polylines in the series colour, the isolated point as a dot.
  EXPECT_EQ(count(svg, "stroke=\"#1f77b4\" stroke-width=\"1.80\""), 2u * 2u + 1u);  // + legend
  EXPECT_EQ(count(svg, "<circle"), 2u);
  EXPECT_EQ(svg.find("<path"), std::string::npos);  // no outlined glyphs
  cli::plot::Figure headed = twoPanelFigure();
  headed.panels[1].title = "Component 270";
  EXPECT_EQ(count(cli::plot::svgText(headed), "font-weight=\"bold\">Component 270</text>"), 1u);
  // Log x from 0.1 to 4 labelled 0.1, 0.2, 0.5, 1, 2, 4; linear y 0, 0.5, ... 2 (0.5, 1 and 2
  // on both axes).
  for (const char* tick : {">0.1</text>", ">0.2</text>", ">4</text>", ">0</text>", ">1.5</text>"})
    EXPECT_EQ(count(svg, tick), 2u) << tick;
  for (const char* tick : {">0.5</text>", ">1</text>", ">2</text>"})
    EXPECT_EQ(count(svg, tick), 4u) << tick;
}

TEST(Figures, PngAndBadRequests) {
  const std::string png = (std::filesystem::temp_directory_path() / "spectra-figure-test.PNG").string();
  cli::plot::writeFigure(twoPanelFigure(), png);
  std::ifstream in(png, std::ios::binary);
  std::string head(8, '\0');
  in.read(head.data(), 8);
  EXPECT_EQ(head, "\x89PNG\r\n\x1a\n");
  std::filesystem::remove(png);
  EXPECT_THROW(cli::plot::checkFigurePath("plot.pdf"), cli::Error);
  cli::plot::Figure empty = twoPanelFigure();
  empty.panels[0].series[0].y.assign(7, -1.0);
  empty.panels[0].y.scale = cli::plot::Scale::Log;
  EXPECT_THROW(cli::plot::svgText(empty), cli::Error);
}

TEST(Figures, TripartiteGridLabelsDisplacementAndAcceleration) {
  cli::plot::Figure figure = twoPanelFigure();
  figure.panels.resize(1);
  cli::plot::Panel& panel = figure.panels[0];
  panel.y.scale = cli::plot::Scale::Log;
  panel.series[0].x = {0.05, 0.5, 5};
  panel.series[0].y = {0.02, 0.5, 0.1};  // m/s
  panel.tripartite = cli::plot::Tripartite{"m", "g", 1.0, 9.80665};
  const std::string svg = cli::plot::svgText(figure);
  EXPECT_NE(svg.find(">0.01 m</text>"), std::string::npos);
  EXPECT_NE(svg.find(">0.1 g</text>"), std::string::npos);
  // Labels run along the lines: falling at 45° for D, rising for A on these axes.
  EXPECT_NE(svg.find("transform=\"rotate(-"), std::string::npos);
}

}  // namespace
