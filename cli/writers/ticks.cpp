// Tick placement. Values are computed as integer multiples (k·step, m·10^e), never by running
// sums, so that a label reads 0.3 and not 0.30000000000000004.
#include "cli/writers/ticks.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace cli::plot {

namespace {

constexpr double kSlack = 1e-9;  // relative, for values that land on a tick up to rounding

double powerOfTen(int exponent) { return std::pow(10.0, exponent); }

int decadeOf(double value) { return static_cast<int>(std::floor(std::log10(value) + kSlack)); }

std::string superscript(int exponent) {
  static const std::array<const char*, 10> digits = {"⁰", "¹", "²", "³", "⁴",
                                                     "⁵", "⁶", "⁷", "⁸", "⁹"};
  std::string text = exponent < 0 ? "⁻" : "";
  for (char c : std::to_string(std::abs(exponent))) text += digits[static_cast<std::size_t>(c - '0')];
  return text;
}

// Labels of a log axis at the multiples m of each decade that are in `marks`.
std::vector<Tick> logTicksLabelled(double lo, double hi, const std::vector<int>& marks) {
  std::vector<Tick> ticks;
  for (int e = decadeOf(lo); e <= decadeOf(hi); ++e)
    for (int m = 1; m <= 9; ++m) {
      const double value = m * powerOfTen(e);
      if (value < lo * (1 - kSlack) || value > hi * (1 + kSlack)) continue;
      const bool labelled = std::find(marks.begin(), marks.end(), m) != marks.end();
      ticks.push_back({value, labelled ? tickText(value) : "", m == 1 || m == 2 || m == 5});
    }
  return ticks;
}

std::size_t labelCount(const std::vector<Tick>& ticks) {
  std::size_t count = 0;
  for (const Tick& tick : ticks) count += tick.label.empty() ? 0 : 1;
  return count;
}

}  // namespace

double niceStep(double span, int count) {
  if (!(span > 0) || !std::isfinite(span)) return 1.0;
  const double raw = span / count;
  const double decade = powerOfTen(decadeOf(raw));
  for (double m : {1.0, 2.0, 2.5, 5.0, 10.0})
    if (m * decade >= raw * (1 - kSlack)) return m * decade;
  return 10 * decade;
}

std::pair<double, double> linearRange(double lo, double hi, int count) {
  const double step = niceStep(hi - lo, count);
  return {std::floor(lo / step + kSlack) * step, std::ceil(hi / step - kSlack) * step};
}

std::vector<Tick> linearTicks(double lo, double hi, int count) {
  const double step = niceStep(hi - lo, count);
  std::vector<Tick> ticks;
  for (double k = std::ceil(lo / step - kSlack); k * step <= hi + step * kSlack; ++k) {
    double value = k * step;
    if (std::fabs(value) < step * kSlack) value = 0.0;
    ticks.push_back({value, tickText(value), true});
  }
  return ticks;
}

std::pair<double, double> logRange(double lo, double hi) {
  const double below = powerOfTen(decadeOf(lo)), above = powerOfTen(decadeOf(hi));
  return {std::floor(lo / below * (1 + kSlack)) * below,
          std::ceil(hi / above * (1 - kSlack)) * above};
}

std::vector<Tick> logTicks(double lo, double hi) {
  const double decades = std::log10(hi / lo);
  if (decades > 4) return logTicksLabelled(lo, hi, {1});
  std::vector<Tick> ticks =
      logTicksLabelled(lo, hi, decades > 1.2 ? std::vector<int>{1, 2, 5}
                                             : std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9});
  if (labelCount(ticks) < 3) ticks = logTicksLabelled(lo, hi, {1, 2, 3, 4, 5, 6, 7, 8, 9});
  if (ticks.empty()) return linearTicks(lo, hi, 4);
  // The ends of the axis as well, where they fall on a tick (kept when there is room).
  for (Tick* end : {&ticks.front(), &ticks.back()})
    if (end->label.empty() && (std::fabs(end->value / lo - 1) < 1e-6 || std::fabs(end->value / hi - 1) < 1e-6))
      end->label = tickText(end->value);
  if (labelCount(ticks) >= 2) return ticks;
  // Less than one step of the multiples: linear steps on the log axis.
  return linearTicks(lo, hi, 4);
}

std::string tickText(double value) {
  if (value == 0) return "0";
  const double size = std::fabs(value);
  if (size >= 1e-4 && size < 1e5)  // a minus sign, not a hyphen
    return (value < 0 ? "−" : "") + fmt::format("{:.6g}", size);
  const int exponent = decadeOf(size);
  const double mantissa = value / powerOfTen(exponent);
  const std::string power = "10" + superscript(exponent);
  if (std::fabs(mantissa - 1) < 1e-6) return power;
  if (std::fabs(mantissa + 1) < 1e-6) return "−" + power;
  return fmt::format("{:.3g}×", mantissa) + power;
}

}  // namespace cli::plot
