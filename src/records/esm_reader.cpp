// ESM ASCII format: the header of the Engineering Strong-Motion database (https://esm-db.eu; Luzi
// et al. 2016, "The Engineering Strong-Motion Database: a platform to access pan-European
// accelerometric data", Seismological Research Letters 87(4), 987-997), HEADER_FORMAT "DYNA 1.2"
// of INGV Milano. The file opens with one "KEY: value" line per header field, among them
//   EVENT_NAME, EVENT_ID, NETWORK, STATION_CODE, STATION_NAME, STREAM,
//   DATE_TIME_FIRST_SAMPLE_YYYYMMDD_HHMMSS (UTC), SAMPLING_INTERVAL_S, NDATA, UNITS (cm/s^2),
//   DATA_TYPE (ACCELERATION, VELOCITY, DISPLACEMENT, ...),
// followed by the NDATA samples, one per line.
#include "records/esm_reader.h"

#include <cctype>
#include <cmath>
#include <map>

#include "records/error.h"
#include "records/numbers.h"
#include "records/sample_rows.h"
#include "records/text_lines.h"
#include "records/units.h"

namespace records {

namespace {

struct Field {
  std::string value;
  std::size_t line = 0;
};

using Header = std::map<std::string, Field>;

// "KEY: value" with KEY in capitals, digits and _/^.-; nullopt for any other line.
std::optional<std::pair<std::string, std::string>> keyAndValue(const std::string& line) {
  const auto colon = line.find(':');
  if (colon == std::string::npos || colon == 0) return std::nullopt;
  const std::string key = line.substr(0, colon);
  for (char c : key)
    if (!(std::isupper(static_cast<unsigned char>(c)) ||
          std::isdigit(static_cast<unsigned char>(c)) || c == '_' || c == '/' || c == '^' ||
          c == '.' || c == '-'))
      return std::nullopt;
  if (!std::isupper(static_cast<unsigned char>(key[0]))) return std::nullopt;
  return std::make_pair(key, stripped(line.substr(colon + 1)));
}

// The header fields and the index of the first line after them.
std::pair<Header, std::size_t> headerOf(const std::vector<std::string>& lines) {
  Header header;
  std::size_t i = 0;
  for (; i < lines.size(); ++i) {
    const auto field = keyAndValue(lines[i]);
    if (!field) break;
    header[field->first] = Field{field->second, i + 1};
  }
  return {header, i};
}

const Field& required(const std::string& path, const Header& header, const std::string& key) {
  const auto found = header.find(key);
  if (found == header.end()) throw fileError(path, 0, "the ESM header has no " + key + " line");
  return found->second;
}

std::string valueOf(const Header& header, const std::string& key) {
  const auto found = header.find(key);
  return found == header.end() ? "" : found->second.value;
}

double samplingInterval(const std::string& path, const Header& header) {
  const Field& field = required(path, header, "SAMPLING_INTERVAL_S");
  const std::optional<double> dt = parseNumber(field.value);
  if (!dt || !(*dt > 0.0) || !std::isfinite(*dt))
    throw fileError(
        path, field.line,
        "SAMPLING_INTERVAL_S must be a positive number of seconds, not '" + field.value + "'");
  return *dt;
}

std::size_t sampleCount(const std::string& path, const Header& header) {
  const Field& field = required(path, header, "NDATA");
  const std::optional<double> count = parseNumber(field.value);
  if (!count || !(*count >= 1) || *count != std::floor(*count) || *count > 1e9)
    throw fileError(path, field.line,
                    "NDATA must be a positive whole number, not '" + field.value + "'");
  return static_cast<std::size_t>(*count);
}

std::string unitOf(const std::string& path, const Header& header) {
  const auto type = header.find("DATA_TYPE");
  if (type != header.end() &&
      (toUpper(type->second.value).find("ACCELERATION") == std::string::npos ||
       toUpper(type->second.value).find("SPECTRUM") != std::string::npos))
    throw fileError(path, type->second.line,
                    "the file holds " + type->second.value + ", not an acceleration time series");
  const Field& field = required(path, header, "UNITS");
  try {
    return findUnit(field.value).name;
  } catch (const Error& error) {
    throw fileError(path, field.line, error.what());
  }
}

RecordInfo infoOf(const Header& header) {
  RecordInfo info;
  info.format = "ESM ASCII";
  info.event = valueOf(header, "EVENT_NAME");
  const std::string id = valueOf(header, "EVENT_ID");
  if (!id.empty()) info.event += info.event.empty() ? id : " (" + id + ")";
  info.station = valueOf(header, "NETWORK");
  const std::string code = valueOf(header, "STATION_CODE");
  if (!code.empty()) info.station += info.station.empty() ? code : "." + code;
  info.component = valueOf(header, "STREAM");
  info.startTime = valueOf(header, "DATE_TIME_FIRST_SAMPLE_YYYYMMDD_HHMMSS");
  if (!info.startTime.empty()) info.startTime += " UTC";
  return info;
}

}  // namespace

bool looksLikeEsm(const std::vector<std::string>& lines) {
  const Header header = headerOf(lines).first;
  return header.count("NDATA") && header.count("SAMPLING_INTERVAL_S");
}

Record readEsm(const std::string& path, const std::vector<std::string>& lines) {
  const auto [header, first] = headerOf(lines);
  const double dt = samplingInterval(path, header);
  const std::size_t count = sampleCount(path, header);
  const std::string unit = unitOf(path, header);
  const ValueRows rows = readValueRows(
      path, lines, first, lines.size(), count, "in the header (NDATA)", "samples",
      [&path](std::size_t n, const std::string& line) { return numbersAtBlanks(path, n, line); });
  expectNothingAfter(path, lines, rows.nextLine, count);
  Record record{path, rows.values, dt, unit};
  record.info = infoOf(header);
  return record;
}

}  // namespace records
