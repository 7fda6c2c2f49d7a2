// PEER NGA AT2 reader: header forms seen in real files, strict sample count.
#include "records/at2_reader.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <optional>

#include "records/error.h"
#include "records/numbers.h"
#include "records/text_lines.h"

namespace records {

namespace {

constexpr std::size_t kHeaderLines = 4;

std::string upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

// The number written right after "KEY=" (blanks allowed around '='), or nullopt.
std::optional<double> valueAfter(const std::string& line, const std::string& key) {
  const std::string text = upper(line);
  for (auto at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) {
    auto pos = text.find_first_not_of(' ', at + key.size());
    if (pos == std::string::npos || text[pos] != '=') continue;
    pos = text.find_first_not_of(' ', pos + 1);
    if (pos == std::string::npos) return std::nullopt;
    const auto stop = text.find_first_of(" ,\t", pos);
    return parseNumber(text.substr(pos, stop == std::string::npos ? stop : stop - pos));
  }
  return std::nullopt;
}

struct Header {
  double npts = 0.0;
  double dt = 0.0;
};

// "NPTS= 3908, DT= .0100 SEC"; otherwise a line naming NPTS and DT with exactly two numbers,
// count first, as in "3908 0.0100 NPTS, DT" of older files.
std::optional<Header> parseHeaderLine(const std::string& line) {
  const auto npts = valueAfter(line, "NPTS");
  const auto dt = valueAfter(line, "DT");
  if (npts && dt) return Header{*npts, *dt};
  const std::string text = upper(line);
  if (text.find("NPTS") == std::string::npos || text.find("DT") == std::string::npos)
    return std::nullopt;
  std::string spaced = line;
  std::replace(spaced.begin(), spaced.end(), '=', ' ');
  std::vector<double> numbers;
  for (const std::string& field : splitFields(spaced))
    if (const auto number = parseNumber(field)) numbers.push_back(*number);
  if (numbers.size() != 2) return std::nullopt;
  return Header{numbers[0], numbers[1]};
}

Header checkedHeader(const std::string& path, const std::vector<std::string>& lines) {
  if (lines.size() < kHeaderLines)
    throw fileError(path, lines.size(), "AT2 header is incomplete: expected four header lines");
  const std::optional<Header> header = parseHeaderLine(lines[kHeaderLines - 1]);
  if (!header)
    throw fileError(
        path, kHeaderLines,
        "malformed AT2 header: expected NPTS and DT, e.g. 'NPTS=  3908, DT=   .0100 SEC'");
  if (!(header->npts >= 1) || header->npts != std::floor(header->npts) || header->npts > 1e9)
    throw fileError(path, kHeaderLines,
                    "malformed AT2 header: NPTS must be a positive whole number");
  if (!(header->dt > 0.0) || !std::isfinite(header->dt))
    throw fileError(path, kHeaderLines, "malformed AT2 header: DT must be a positive number");
  return *header;
}

// Line 2 of NGA files: "Imperial Valley-02, 5/19/1940, El Centro Array #9, 180" (event, date,
// station, component); any other line 2 is kept whole as the event.
RecordInfo infoOf(const std::string& line) {
  RecordInfo info;
  info.format = "PEER NGA AT2";
  std::vector<std::string> parts;
  for (std::size_t start = 0;;) {
    const auto comma = line.find(',', start);
    parts.push_back(
        stripped(line.substr(start, comma == std::string::npos ? comma : comma - start)));
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (parts.size() == 4) {
    info.event = parts[0] + ", " + parts[1];
    info.station = parts[2];
    info.component = parts[3];
  } else {
    info.event = stripped(line);
  }
  return info;
}

}  // namespace

bool looksLikeAt2(const std::string& path, const std::vector<std::string>& lines) {
  const std::string extension = upper(std::filesystem::path(path).extension().string());
  return extension == ".AT2" || (!lines.empty() && upper(lines[0]).rfind("PEER", 0) == 0) ||
         (lines.size() >= kHeaderLines && parseHeaderLine(lines[kHeaderLines - 1]).has_value());
}

Record readAt2(const std::string& path, const std::vector<std::string>& lines) {
  const Header header = checkedHeader(path, lines);
  if (upper(lines[2]).find("VELOCITY") != std::string::npos ||
      upper(lines[2]).find("DISPLACEMENT") != std::string::npos)
    throw fileError(path, 3, "not an acceleration record: '" + lines[2] + "'");
  const auto npts = static_cast<std::size_t>(header.npts);
  Record record{path, {}, header.dt, "g"};
  // A header may announce far more samples than the file holds; reserve only what can follow.
  record.samples.reserve(std::min(npts, 16 * (lines.size() - kHeaderLines)));
  for (std::size_t i = kHeaderLines; i < lines.size(); ++i) {
    for (const std::string& token : splitFields(lines[i])) {
      const std::optional<double> value = parseNumber(token);
      if (!value) throw fileError(path, i + 1, "'" + token + "' is not a number");
      if (!std::isfinite(*value))
        throw fileError(path, i + 1, "sample '" + token + "' is not finite");
      if (record.samples.size() == npts)
        throw fileError(path, i + 1, "more samples than NPTS = " + std::to_string(npts));
      record.samples.push_back(*value);
    }
  }
  if (record.samples.size() != npts)
    throw fileError(path, 0,
                    "the header announces NPTS = " + std::to_string(npts) + " but " +
                        std::to_string(record.samples.size()) + " samples follow");
  record.info = infoOf(lines[1]);
  return record;
}

}  // namespace records
