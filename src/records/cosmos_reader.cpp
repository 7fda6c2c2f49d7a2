// COSMOS Strong Motion Data Format, ver. 1.20 (COSMOS Strong Motion Programs Board, August 15,
// 2001; https://strongmotioncenter.org/vdc/cosmos_format_1_20.pdf). One channel is laid out as
//   text header   line 1: data type and "(Format v01.20 with 13 text lines)"; line 2 the event,
//                 line 5 the station, line 8 the record start time, line 9 the channel;
//   " 100 Integer-header values follow on 10 lines, Format= (10I8)", then the values
//                 (value 1: processing stage, 0 raw, 1 V1, 2 V2);
//   " 100 Real-header values follow on 17 lines, Format= (6F13.6)", then the values
//                 (value 62: sampling interval in milliseconds);
//   "   2 Comment line(s) follow, each starting with a "|":", then the comments;
//   "  8000 acceleration pts, approx  40 secs, units=cm/sec2 (04), Format=(8F10.5)", the samples;
//   "End-of-data for Chan  1 acceleration", and possibly velocity and displacement sections.
// Counts and formats are taken from these lines, never assumed.
#include "records/cosmos_reader.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

#include "records/error.h"
#include "records/fortran_fields.h"
#include "records/header_text.h"
#include "records/numbers.h"
#include "records/sample_rows.h"
#include "records/text_lines.h"
#include "records/units.h"

namespace records {

namespace {

constexpr std::size_t kStageValue = 1;      // integer header: 0 raw, 1 V1, 2 V2, 3 V3
constexpr std::size_t kIntervalValue = 62;  // real header: sampling interval [ms]
constexpr std::size_t kMaxHeaderValues = 10000;

bool startsChannel(const std::string& line) {
  return toUpper(line).find("(FORMAT V") != std::string::npos;
}

std::string lineAt(const std::string& path, const std::vector<std::string>& lines, std::size_t i,
                   const std::string& expected) {
  if (i >= lines.size())
    throw fileError(path, lines.size(), "the file ends where " + expected + " should follow");
  return lines[i];
}

FieldLayout layoutOn(const std::string& path, std::size_t lineNumber, const std::string& line) {
  const std::optional<std::string> after = textAfter(line, "FORMAT");
  std::string format = after ? stripped(*after) : "";
  if (!format.empty() && format[0] == '=') format = stripped(format.substr(1));
  const std::optional<FieldLayout> layout = parseFortranFormat(format);
  if (!layout)
    throw fileError(
        path, lineNumber,
        "cannot read the number format '" + format + "' (expected e.g. 'Format=(8F10.5)')");
  return *layout;
}

RowReader fieldReader(const std::string& path, const FieldLayout& layout) {
  return [path, layout](std::size_t lineNumber, const std::string& line) {
    return numbersInFields(path, lineNumber, line, layout);
  };
}

// "<n> Integer-header values follow on <m> lines, Format= (10I8)" and the n values.
ValueRows headerValues(const std::string& path, const std::vector<std::string>& lines,
                       std::size_t i, const std::string& name, const std::string& example) {
  const std::string line = lineAt(path, lines, i, "the " + name + " line");
  const std::optional<long long> count = leadingInteger(line);
  if (toUpper(line).find(toUpper(name)) == std::string::npos || !count || *count < 0 ||
      *count > static_cast<long long>(kMaxHeaderValues))
    throw fileError(path, i + 1, "expected the " + name + " line, e.g. '" + example + "'");
  // "on 10 lines" bounds the values, so that a wrong count is reported here and not as a bad
  // number on the next header line.
  const std::optional<long long> rowCount = integerBefore(line, "line");
  const std::size_t end = rowCount && *rowCount >= 0
                              ? std::min(lines.size(), i + 1 + static_cast<std::size_t>(*rowCount))
                              : lines.size();
  ValueRows rows = readValueRows(path, lines, i + 1, end, static_cast<std::size_t>(*count),
                                 "on line " + std::to_string(i + 1), name + " values",
                                 fieldReader(path, layoutOn(path, i + 1, line)));
  if (rowCount) rows.nextLine = end;
  return rows;
}

// The data end at "End-of-data ..." or where the next channel begins.
std::size_t endOfData(const std::vector<std::string>& lines, std::size_t from) {
  for (std::size_t i = from; i < lines.size(); ++i)
    if (startsWithNoCase(stripped(lines[i]), "End-of-data") || startsChannel(lines[i])) return i;
  return lines.size();
}

// "<n> Comment line(s) follow, ..." and the n comments, each starting with '|'.
std::size_t afterComments(const std::string& path, const std::vector<std::string>& lines,
                          std::size_t i) {
  const std::string line = lineAt(path, lines, i, "the comment line");
  const std::optional<long long> count = leadingInteger(line);
  if (toUpper(line).find("COMMENT") == std::string::npos || !count || *count < 0)
    throw fileError(path, i + 1,
                    "expected the comment line, e.g. '   2 Comment line(s) follow, each starting "
                    "with a \"|\":'");
  for (long long k = 1; k <= *count; ++k) {
    const std::string comment = stripped(lineAt(path, lines, i + k, "a comment line"));
    if (comment.empty() || comment[0] != '|')
      throw fileError(path, i + k + 1,
                      fmt::format("expected comment {} of {} (starting with '|'): the comment "
                                  "count on line {} is wrong",
                                  k, *count, i + 1));
  }
  return i + 1 + static_cast<std::size_t>(*count);
}

struct DataSection {
  std::size_t count = 0;
  std::string unit;
  FieldLayout layout;
};

// "  8000 acceleration pts, approx  40 secs, units=cm/sec2 (04), Format=(8F10.5)".
DataSection dataSection(const std::string& path, const std::vector<std::string>& lines,
                        std::size_t i) {
  const std::string line = lineAt(path, lines, i, "the data line");
  const std::vector<std::string> words = splitFields(line);
  const std::optional<long long> count = leadingInteger(line);
  if (!count || *count < 1 || words.size() < 2 || toUpper(line).find("PTS") == std::string::npos)
    throw fileError(path, i + 1,
                    "expected the data line, e.g. '  8000 acceleration pts, approx  40 secs, "
                    "units=cm/sec2 (04), Format=(8F10.5)'");
  if (!startsWithNoCase(words[1], "accel"))
    throw fileError(path, i + 1, "the data are " + words[1] + ", not accelerations");
  const std::optional<std::string> after = textAfter(line, "UNITS=");
  const std::string unitText = after ? stripped(after->substr(0, after->find_first_of("(,"))) : "";
  DataSection section{static_cast<std::size_t>(*count), "", layoutOn(path, i + 1, line)};
  try {
    section.unit = findUnit(unitText).name;
  } catch (const Error& error) {
    throw fileError(path, i + 1,
                    "the samples are in '" + unitText +
                        "', not an acceleration unit: read the V1 or V2 file of this record (" +
                        error.what() + ")");
  }
  return section;
}

double intervalOf(const std::string& path, const ValueRows& reals, std::size_t realLine) {
  const double ms = reals.values.size() >= kIntervalValue ? reals.values[kIntervalValue - 1] : -1.0;
  if (!(ms > 0.0))
    throw fileError(path, realLine,
                    "the real header gives no sampling interval (value 62, in milliseconds)");
  // A subnormal interval in milliseconds is zero in seconds.
  if (!(ms / 1000.0 > 0.0))
    throw fileError(path, realLine,
                    "the sampling interval (real-header value 62) of " + roundTrip(ms) +
                        " ms is too small to be a time step");
  return ms / 1000.0;
}

RecordInfo infoOf(const std::vector<std::string>& lines, std::size_t start, std::size_t textLines,
                  double stage) {
  RecordInfo info;
  info.format =
      stage >= 0 && stage <= 3 ? fmt::format("COSMOS V{}", static_cast<int>(stage)) : "COSMOS";
  auto text = [&](std::size_t k) { return k < textLines ? lines[start + k] : std::string(); };
  info.event = collapsedBlanks(text(1));
  info.station = collapsedBlanks(textAfter(text(4), "CODE:").value_or(text(4)));
  const std::string started = textAfter(text(7), "TIME:").value_or("");
  info.startTime = collapsedBlanks(started.substr(0, toUpper(started).find("(Q=")));
  if (startsWithNoCase(stripped(text(8)), "Sta Chan")) {
    const std::string channel = textAfter(text(8), ":").value_or("");
    info.component = collapsedBlanks(channel.substr(0, channel.find('(')));
  }
  return info;
}

Record readChannel(const std::string& path, const std::vector<std::string>& lines,
                   std::size_t start) {
  const std::optional<long long> textLines = integerBefore(lines[start], "text line");
  if (!textLines || *textLines < 1 || start + static_cast<std::size_t>(*textLines) > lines.size())
    throw fileError(path, start + 1,
                    "malformed COSMOS first line: expected '(Format v01.20 with 13 text lines)'");
  const std::size_t text = static_cast<std::size_t>(*textLines);
  const std::size_t intLine = start + text;
  const ValueRows ints =
      headerValues(path, lines, intLine, "Integer-header",
                   " 100 Integer-header values follow on 10 lines, Format= (10I8)");
  const ValueRows reals =
      headerValues(path, lines, ints.nextLine, "Real-header",
                   " 100 Real-header values follow on 17 lines, Format= (6F13.6)");
  const std::size_t dataLine = afterComments(path, lines, reals.nextLine);
  const DataSection section = dataSection(path, lines, dataLine);
  const ValueRows samples = readValueRows(path, lines, dataLine + 1, endOfData(lines, dataLine + 1),
                                          section.count, "on line " + std::to_string(dataLine + 1),
                                          "samples", fieldReader(path, section.layout));
  Record record{path, samples.values, intervalOf(path, reals, ints.nextLine + 1), section.unit};
  const double stage = ints.values.size() >= kStageValue ? ints.values[kStageValue - 1] : -1.0;
  record.info = infoOf(lines, start, text, stage);
  return record;
}

}  // namespace

bool looksLikeCosmos(const std::vector<std::string>& lines) {
  return !lines.empty() && startsChannel(lines[0]);
}

Record readCosmos(const std::string& path, const std::vector<std::string>& lines, int channel) {
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (startsChannel(lines[i]) && toUpper(lines[i]).find("ACCEL") != std::string::npos)
      starts.push_back(i);
  // No acceleration channel: read the first, whose data line then says what it holds.
  if (starts.empty() && !lines.empty() && startsChannel(lines[0])) starts.push_back(0);
  if (starts.empty())
    throw fileError(path, lines.empty() ? 0 : 1,
                    "not a COSMOS file: its first line does not announce a channel, e.g. "
                    "'Corrected acceleration (Format v01.20 with 13 text lines)'");
  if (channel == 0 && starts.size() > 1)
    throw fileError(path, 0,
                    fmt::format("the file holds {} acceleration channels: choose one with "
                                "--channel (1 to {})",
                                starts.size(), starts.size()));
  if (channel < 0 || static_cast<std::size_t>(channel) > starts.size())
    throw fileError(
        path, 0, fmt::format("there is no channel {}: the file holds {}", channel, starts.size()));
  return readChannel(path, lines, starts[channel == 0 ? 0 : static_cast<std::size_t>(channel) - 1]);
}

}  // namespace records
