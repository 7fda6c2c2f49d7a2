// Axis ticks of the figures: a range widened to whole steps keeps the ticks of that step.
#include "cli/writers/axis_scale.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> labels(const cli::plot::AxisScale& scale) {
  std::vector<std::string> texts;
  for (const cli::plot::Tick& tick : scale.ticks)
    if (!tick.label.empty()) texts.push_back(tick.label);
  return texts;
}

TEST(AxisScale, AWidenedLinearRangeKeepsTheStepItWasRoundedTo) {
  cli::plot::Axis axis;
  axis.label = "Acceleration [m/s²]";
  // Three ticks' room: the data's span 5.2 steps by 2 and rounds out to −4 … 4.
  const cli::plot::AxisScale scale = cli::plot::scaleFor(axis, {-2.7, 2.5}, 220);
  EXPECT_EQ(scale.lo, -4.0);
  EXPECT_EQ(scale.hi, 4.0);
  EXPECT_EQ(labels(scale), (std::vector<std::string>{"−4", "−2", "0", "2", "4"}));
  // A range that needs no widening is unchanged.
  EXPECT_EQ(labels(cli::plot::scaleFor(axis, {0.0, 1.5}, 220)),
            (std::vector<std::string>{"0", "0.5", "1", "1.5"}));
}

}  // namespace
