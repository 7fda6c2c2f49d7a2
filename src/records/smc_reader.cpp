// USGS SMC format ("SMC- and BBF-format Data Files", USGS National Strong-Motion Project,
// https://escweb.wr.usgs.gov/nsmp-data/smcfmt.html; text copy docs/smcfmt.txt there). A file holds
// one time series:
//   11 text lines: line 1 the data type ("1 UNCORRECTED ACCELEROGRAM", "2 CORRECTED ACCELEROGRAM",
//                  "3 VELOCITY", ...), line 2 the event, line 6 "station = ... component= ...";
//   6 lines of 48 integers (8I10): 1 the null value, 2-7 start year, day of year, hour, minute,
//                  second, millisecond; 16 the number of comment lines; 17 the number of samples;
//                  47 = 8 when the samples are written in the high-precision form (5E14.7);
//   10 lines of 50 reals (5E15.7): 1 the null value, 2 the sampling rate [samples/s];
//   the comment lines, each starting with '|';
//   the samples, 8 per line in fields of 10 characters (8E10.4), or 5 per line of 14.
// Accelerations are in cm/s², the format's unit for all time series.
#include "records/smc_reader.h"

#include <fmt/format.h>

#include <array>
#include <cmath>

#include "records/error.h"
#include "records/fortran_fields.h"
#include "records/header_text.h"
#include "records/numbers.h"
#include "records/sample_rows.h"
#include "records/text_lines.h"

namespace records {

namespace {

constexpr std::size_t kTextLines = 11;
constexpr std::size_t kIntLines = 6;
constexpr std::size_t kRealLines = 10;
constexpr FieldLayout kIntLayout{8, 10};
constexpr FieldLayout kRealLayout{5, 15};
constexpr FieldLayout kSampleLayout{8, 10};
constexpr FieldLayout kPreciseSampleLayout{5, 14};

const std::array<const char*, 7> kTypes = {
    "0 UNKNOWN",      "1 UNCORRECTED ACCELEROGRAM", "2 CORRECTED ACCELEROGRAM",   "3 VELOCITY",
    "4 DISPLACEMENT", "5 RESPONSE SPECTRA",         "6 FOURIER AMPLITUDE SPECTRA"};

int typeOf(const std::string& firstLine) {
  const std::string text = toUpper(stripped(firstLine));
  for (std::size_t i = 0; i < kTypes.size(); ++i)
    if (text.rfind(kTypes[i], 0) == 0) return static_cast<int>(i);
  return -1;
}

// The values of `count` header lines, which must hold perLine values each.
std::vector<double> headerBlock(const std::string& path, const std::vector<std::string>& lines,
                                std::size_t first, std::size_t count, const FieldLayout& layout,
                                const std::string& name) {
  std::vector<double> values;
  for (std::size_t i = first; i < first + count; ++i) {
    const std::vector<double> row = numbersInFields(path, i + 1, lines[i], layout);
    if (row.size() != layout.perLine)
      throw fileError(path, i + 1,
                      fmt::format("the {} header line holds {} values, expected {}", name,
                                  row.size(), layout.perLine));
    values.insert(values.end(), row.begin(), row.end());
  }
  return values;
}

std::size_t countAt(const std::string& path, const std::vector<double>& ints, std::size_t index,
                    std::size_t lineNumber, const std::string& what, double least) {
  const double value = ints[index - 1];
  if (value == ints[0] || !(value >= least) || value != std::floor(value) || value > 1e9)
    throw fileError(path, lineNumber,
                    fmt::format("integer-header value {} ({}) must be a whole number of at least "
                                "{}, not {}",
                                index, what, least, roundTrip(value)));
  return static_cast<std::size_t>(value);
}

std::string startTimeOf(const std::vector<double>& ints) {
  for (std::size_t i = 2; i <= 7; ++i)
    if (ints[i - 1] == ints[0]) return "";
  return fmt::format("{:04.0f}, day {:03.0f}, {:02.0f}:{:02.0f}:{:02.0f}.{:03.0f} UTC", ints[1],
                     ints[2], ints[3], ints[4], ints[5], ints[6]);
}

RecordInfo infoOf(const std::vector<std::string>& lines, const std::vector<double>& ints,
                  int type) {
  RecordInfo info;
  info.format = type == 1 ? "USGS SMC, uncorrected" : "USGS SMC, corrected";
  const std::string event = collapsedBlanks(lines[1]);
  info.event = event == "*" ? "" : event;
  const std::string stationLine = lines[5];
  const std::optional<std::string> station = textAfter(stationLine, "station =");
  const std::optional<std::string> component = textAfter(stationLine, "component=");
  if (station)
    info.station = collapsedBlanks(station->substr(0, toUpper(*station).find("COMPONENT=")));
  if (info.station.empty()) info.station = collapsedBlanks(lines[2].substr(0, 4));
  if (component) info.component = collapsedBlanks(*component);
  info.startTime = startTimeOf(ints);
  return info;
}

}  // namespace

bool looksLikeSmc(const std::vector<std::string>& lines) {
  return !lines.empty() && typeOf(lines[0]) >= 0;
}

Record readSmc(const std::string& path, const std::vector<std::string>& lines) {
  const int type = typeOf(lines.empty() ? "" : lines[0]);
  if (type != 1 && type != 2)
    throw fileError(path, 1,
                    "the file holds '" + stripped(lines.empty() ? "" : lines[0]) +
                        "', not an accelerogram (SMC type 1 or 2)");
  const std::size_t realStart = kTextLines + kIntLines;
  if (lines.size() < realStart + kRealLines)
    throw fileError(
        path, lines.size(),
        "SMC header is incomplete: expected 11 text, 6 integer and 10 real header lines");
  const std::vector<double> ints =
      headerBlock(path, lines, kTextLines, kIntLines, kIntLayout, "integer");
  const std::vector<double> reals =
      headerBlock(path, lines, realStart, kRealLines, kRealLayout, "real");
  const std::size_t comments = countAt(path, ints, 16, kTextLines + 2, "comment lines", 0);
  const std::size_t count = countAt(path, ints, 17, kTextLines + 3, "number of samples", 1);
  const double rate = reals[1];
  if (rate == reals[0] || !(rate > 0.0) || !std::isfinite(rate) || !std::isfinite(1.0 / rate))
    throw fileError(path, realStart + 1,
                    "real-header value 2 (sampling rate, samples per second) must be positive "
                    "and give a time step, not " +
                        roundTrip(rate));
  const std::size_t first = realStart + kRealLines;
  for (std::size_t i = first; i < first + comments; ++i)
    if (i >= lines.size() || stripped(lines[i]).rfind('|', 0) != 0)
      throw fileError(path, i + 1,
                      fmt::format("expected comment line {} of {} (starting with '|'): the count "
                                  "in integer-header value 16 is wrong",
                                  i - first + 1, comments));
  const FieldLayout layout = ints[46] == 8 ? kPreciseSampleLayout : kSampleLayout;
  const ValueRows rows = readValueRows(path, lines, first + comments, lines.size(), count,
                                       "in the integer header (value 17)", "samples",
                                       [&path, layout](std::size_t n, const std::string& line) {
                                         return numbersInFields(path, n, line, layout);
                                       });
  expectNothingAfter(path, lines, rows.nextLine, count);
  Record record{path, rows.values, 1.0 / rate, "cm/s2"};
  record.info = infoOf(lines, ints, type);
  return record;
}

}  // namespace records
