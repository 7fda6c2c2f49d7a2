// Period parsing and checking: every period must be a positive finite number.
#include "cli/app/periods.h"

#include <cmath>

#include "cli/app/error.h"
#include "records/numbers.h"

namespace cli {

namespace {

constexpr int kMaxPeriods = 1000000;

void requirePositive(double value, const std::string& what) {
  if (!(value > 0.0)) throw Error(what + ": periods must be positive, got " + records::roundTrip(value));
}

struct Range {
  double start, end;
  int count;
};

Range parseRange(const std::string& text, const std::string& what) {
  const auto first = text.find(':');
  const auto second = text.find(':', first + 1);
  if (second == std::string::npos || text.find(':', second + 1) != std::string::npos)
    throw Error(what + ": expected start:end:count, got '" + text + "'");
  Range range{records::parseFinite(text.substr(0, first), what),
              records::parseFinite(text.substr(first + 1, second - first - 1), what), 0};
  const double count = records::parseFinite(text.substr(second + 1), what);
  if (count != std::floor(count) || count < 1 || count > kMaxPeriods)
    throw Error(what + ": the count must be a whole number from 1 to " +
                std::to_string(kMaxPeriods) + ", got '" + text.substr(second + 1) + "'");
  range.count = static_cast<int>(count);
  requirePositive(range.start, what);
  requirePositive(range.end, what);
  return range;
}

}  // namespace

Periods parsePeriods(const std::string& text) {
  const std::string what = "--periods";
  Periods periods;
  if (text.find(':') != std::string::npos) {
    const Range range = parseRange(text, what);
    periods.generated = true;
    periods.start = range.start;
    periods.end = range.end;
    periods.count = range.count;
    return periods;
  }
  periods.list = records::parseList(text, what);
  for (double period : periods.list) requirePositive(period, what);
  return periods;
}

Periods parseLogPeriods(const std::string& text) {
  const Range range = parseRange(text, "--log-periods");
  Periods periods;
  const double logStart = std::log(range.start);
  const double step = range.count > 1 ? (std::log(range.end) - logStart) / (range.count - 1) : 0.0;
  for (int i = 0; i < range.count; ++i) periods.list.push_back(std::exp(logStart + i * step));
  // The ends exactly as written, not as exp(log(x)) returned them.
  periods.list.front() = range.start;
  if (range.count > 1) periods.list.back() = range.end;
  return periods;
}

}  // namespace cli
