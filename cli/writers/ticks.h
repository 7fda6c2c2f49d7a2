// Axis ranges and ticks that read well: 1-2-5 steps on linear axes, 1-2-5 labels per decade on
// log axes (every decade labelled, minor ticks at 1 … 9).
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace cli::plot {

struct Tick {
  double value = 0.0;
  std::string label;   // "" for a minor tick
  bool major = false;  // kept when labels crowd: every linear tick, the decades of a log axis
};

// The smallest of 1, 2, 2.5, 5 × 10^k that is at least span / count.
double niceStep(double span, int count);

// Ticks from lo to hi every niceStep(hi - lo, count), all labelled, e.g. 0, 0.5, 1, 1.5.
std::vector<Tick> linearTicks(double lo, double hi, int count = 6);

// lo and hi moved out to multiples of the tick step.
std::pair<double, double> linearRange(double lo, double hi, int count = 6);

// lo down and hi up to the nearest of 1, 2, 5 × 10^k (both positive).
std::pair<double, double> logRange(double lo, double hi);

// Ticks of a log axis from lo to hi (both positive): a minor tick at every 1 … 9 × 10^k;
// labels on every decade and on 2 and 5 when the range spans up to four decades, on every
// multiple when that leaves fewer than three labels, only on decades beyond four.
std::vector<Tick> logTicks(double lo, double hi);

// A tick value as text: "0.05", "2.5", "1000", "10⁻⁵", "2×10⁶".
std::string tickText(double value);

}  // namespace cli::plot
