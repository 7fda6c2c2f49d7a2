// Numeric column files: every row must have the same number of finite values.
#include "records/column_reader.h"

#include <fmt/format.h>

#include <cmath>

#include "records/error.h"
#include "records/numbers.h"
#include "records/text_lines.h"

namespace records {

namespace {

// Relative tolerance on each step of a time column: printed times carry rounding of their own.
constexpr double kStepTolerance = 1e-3;

}  // namespace

double sampleAt(const std::string& path, std::size_t line, const std::string& token) {
  const std::optional<double> value = parseNumber(token);
  if (!value) throw fileError(path, line, "'" + token + "' is not a number");
  if (!std::isfinite(*value)) throw fileError(path, line, "value '" + token + "' is not finite");
  return *value;
}

double stepOfTimeColumn(const std::string& path, const std::vector<double>& times,
                        const std::vector<std::size_t>& lineOf) {
  if (times.size() < 2) throw fileError(path, 0, "a time column needs at least two rows");
  const double first = times[1] - times[0];
  if (!(first > 0.0)) throw fileError(path, lineOf[1], "the time column does not increase");
  for (std::size_t i = 2; i < times.size(); ++i) {
    const double step = times[i] - times[i - 1];
    if (std::fabs(step - first) > kStepTolerance * first)
      throw fileError(path, lineOf[i],
                      fmt::format("time step is not constant: {:.6g} s here, {:.6g} s at the start",
                                  step, first));
  }
  const double mean = (times.back() - times.front()) / static_cast<double>(times.size() - 1);
  const std::optional<double> step = parseNumber(fmt::format("{:.10g}", mean));
  // Times near the largest double can span more than a double holds.
  if (!step || !std::isfinite(*step) || !(*step > 0.0))
    throw fileError(path, 0,
                    fmt::format("the time column gives no usable time step (from {} s to {} s)",
                                roundTrip(times.front()), roundTrip(times.back())));
  return *step;
}

double agreeingStep(const std::string& path, double stated, std::optional<double> dtGiven) {
  if (dtGiven && std::fabs(*dtGiven - stated) > 1e-9 * stated)
    throw fileError(path, 0,
                    fmt::format("the file gives dt = {} s but --dt is {} s", roundTrip(stated),
                                roundTrip(*dtGiven)));
  return stated;
}

Record readColumns(const std::string& path, const std::vector<std::string>& lines,
                   std::optional<double> dtGiven) {
  Record record{path, {}, 0.0, ""};
  std::vector<double> times;
  std::vector<std::size_t> lineOf;
  std::size_t columns = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (isBlankOrComment(lines[i])) continue;
    const std::vector<std::string> fields = splitFields(lines[i]);
    // A line of nothing but separators, such as ",", holds no value at all.
    if (fields.empty()) throw fileError(path, i + 1, "no values on this line");
    if (columns == 0) columns = fields.size();
    if (columns > 2)
      throw fileError(path, i + 1, "expected one or two columns, found " + std::to_string(columns));
    if (fields.size() != columns)
      throw fileError(path, i + 1,
                      fmt::format("expected {} values, found {}", columns, fields.size()));
    if (columns == 2) times.push_back(sampleAt(path, i + 1, fields[0]));
    record.samples.push_back(sampleAt(path, i + 1, fields.back()));
    lineOf.push_back(i + 1);
  }
  if (record.samples.empty()) throw fileError(path, 0, "no samples");
  if (columns == 2) {
    record.dt = agreeingStep(path, stepOfTimeColumn(path, times, lineOf), dtGiven);
  } else {
    if (!dtGiven) throw fileError(path, 0, "one column of samples: give the time step with --dt");
    record.dt = *dtGiven;
  }
  return record;
}

}  // namespace records
