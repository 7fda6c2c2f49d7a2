// Header-row tables: the delimiter is a comma, semicolon or tab, whichever the header uses.
#include "records/csv_reader.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <cmath>

#include "records/column_reader.h"
#include "records/error.h"
#include "records/numbers.h"
#include "records/text_lines.h"
#include "records/units.h"

namespace records {

namespace {

char delimiterOf(const std::string& header) {
  for (char candidate : {',', ';', '\t'})
    if (header.find(candidate) != std::string::npos) return candidate;
  return ' ';
}

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t\"");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\"") - first + 1);
}

std::vector<std::string> split(const std::string& line, char delimiter) {
  if (delimiter == ' ') return splitFields(line);
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (auto at = line.find(delimiter);; at = line.find(delimiter, start)) {
    fields.push_back(trimmed(line.substr(start, at == std::string::npos ? at : at - start)));
    if (at == std::string::npos) return fields;
    start = at + 1;
  }
}

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

bool isTimeHeader(const std::string& name) {
  const std::string word = lower(name.substr(0, name.find_first_of(" ([_")));
  return word == "t" || word == "time";
}

std::size_t firstDataLine(const std::vector<std::string>& lines) {
  std::size_t i = 0;
  while (i < lines.size() && isBlankOrComment(lines[i])) ++i;
  return i;
}

std::optional<std::size_t> timeColumn(const std::vector<std::string>& names) {
  for (std::size_t i = 0; i < names.size(); ++i)
    if (isTimeHeader(names[i])) return i;
  return std::nullopt;
}

std::size_t accelerationColumn(const std::string& path, std::size_t headerLine,
                               const std::vector<std::string>& names, const std::string& column,
                               std::optional<std::size_t> time) {
  if (!column.empty()) {
    for (std::size_t i = 0; i < names.size(); ++i)
      if (names[i] == column) return i;
    const std::optional<double> number = parseNumber(column);
    if (number && *number >= 1 && *number <= static_cast<double>(names.size()) &&
        *number == std::floor(*number))
      return static_cast<std::size_t>(*number) - 1;
    throw fileError(path, headerLine, "no column '" + column + "' in the header");
  }
  const std::size_t others = names.size() - (time ? 1 : 0);
  if (others != 1)
    throw fileError(path, headerLine,
                    "cannot tell which column holds the acceleration: choose one with --column");
  return time && *time == 0 ? 1 : 0;
}

}  // namespace

bool hasHeaderRow(const std::vector<std::string>& lines) {
  const std::size_t first = firstDataLine(lines);
  if (first == lines.size()) return false;
  for (const std::string& field : split(lines[first], delimiterOf(lines[first])))
    if (!parseNumber(field)) return true;
  return false;
}

Record readCsv(const std::string& path, const std::vector<std::string>& lines,
               const std::string& column, std::optional<double> dtGiven) {
  const std::size_t headerIndex = firstDataLine(lines);
  if (headerIndex == lines.size()) throw fileError(path, 0, "no header row and no samples");
  const char delimiter = delimiterOf(lines[headerIndex]);
  const std::vector<std::string> names = split(lines[headerIndex], delimiter);
  const std::optional<std::size_t> time = timeColumn(names);
  const std::size_t acc = accelerationColumn(path, headerIndex + 1, names, column, time);

  Record record{path, {}, 0.0, ""};
  try {
    record.statedUnit = unitInHeader(names[acc]);
  } catch (const Error& error) {
    throw fileError(path, headerIndex + 1, error.what());
  }
  std::vector<double> times;
  std::vector<std::size_t> lineOf;
  for (std::size_t i = headerIndex + 1; i < lines.size(); ++i) {
    if (isBlankOrComment(lines[i])) continue;
    const std::vector<std::string> fields = split(lines[i], delimiter);
    if (fields.size() != names.size())
      throw fileError(path, i + 1,
                      fmt::format("expected {} fields as in the header, found {}", names.size(),
                                  fields.size()));
    if (time) times.push_back(sampleAt(path, i + 1, fields[*time]));
    record.samples.push_back(sampleAt(path, i + 1, fields[acc]));
    lineOf.push_back(i + 1);
  }
  if (record.samples.empty()) throw fileError(path, 0, "no samples below the header");
  if (time) {
    record.dt = agreeingStep(path, stepOfTimeColumn(path, times, lineOf), dtGiven);
  } else {
    if (!dtGiven) throw fileError(path, 0, "no time column: give the time step with --dt");
    record.dt = *dtGiven;
  }
  return record;
}

}  // namespace records
