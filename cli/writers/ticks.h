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
  bool major = false;  // kept first when labels crowd: every linear tick, 1-2-5 on a log axis
};

// The smallest of 1, 2, 2.5, 5 × 10^k that is at least span / count.
double niceStep(double span, int count);

// Ticks from lo to hi every niceStep(hi - lo, count), all labelled, e.g. 0, 0.5, 1, 1.5.
std::vector<Tick> linearTicks(double lo, double hi, int count = 6);

// lo and hi moved out to multiples of the tick step.
std::pair<double, double> linearRange(double lo, double hi, int count = 6);

// lo down and hi up to the nearest whole multiple m × 10^k, m = 1 … 9 (both positive).
std::pair<double, double> logRange(double lo, double hi);

// Ticks of a log axis from lo to hi (both positive): a tick at every 1 … 9 × 10^k; labels on
// every multiple over up to 1.2 decades (or when 1-2-5 would leave fewer than three), on 1, 2
// and 5 up to four decades, only on decades beyond; and on the ends of the axis when they fall
// on a tick.
std::vector<Tick> logTicks(double lo, double hi);

// A tick value as text: "0.05", "2.5", "1000", "−1" (a minus sign), "10⁻⁵", "2×10⁶".
std::string tickText(double value);

}  // namespace cli::plot
