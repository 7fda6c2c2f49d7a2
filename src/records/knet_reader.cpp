// K-NET ASCII format (NIED, "About K-NET ASCII format",
// http://www.kyoshin.bosai.go.jp/kyoshin/man/knetform_en.html), also used by KiK-net:
//   Origin Time       2006/01/18 23:25:00      Mag.  5.7      Station Code  MYG002
//   Record Time       2006/01/18 23:25:46      (includes the recorder's 15 s trigger delay)
//   Sampling Freq(Hz) 100Hz                    Duration Time(s)  108
//   Dir.              N-S   (KiK-net: channel 1-6)
//   Scale Factor      3920(gal)/6182761
//   Max. Acc. (gal)   48.060                   (after the mean of the whole record is removed)
//   Memo.
// then the counts, 8 per line. Acceleration [gal] = count × 3920 / 6182761; the counts carry the
// recorder's offset, which NIED removes as the mean of the whole record before stating the
// maximum acceleration. This reader does the same: a_i = c_i × f, then a_i − (Σ a_i) / n, so that
// an oscillator is not loaded by a constant acceleration that was never ground motion.
#include "records/knet_reader.h"

#include <fmt/format.h>

#include <cmath>
#include <optional>

#include "records/error.h"
#include "records/header_text.h"
#include "records/numbers.h"
#include "records/sample_rows.h"
#include "records/text_lines.h"
#include "records/units.h"

namespace records {

namespace {

constexpr std::size_t kMaxHeaderLines = 30;

struct Header {
  const std::vector<std::string>* lines = nullptr;
  std::size_t end = 0;  // index of the first data line

  // The value on the line that starts with key, and that line's number; nullopt when absent.
  std::optional<std::pair<std::string, std::size_t>> find(const std::string& key) const {
    for (std::size_t i = 0; i < end; ++i)
      if (startsWithNoCase((*lines)[i], key))
        return std::make_pair(stripped((*lines)[i].substr(key.size())), i + 1);
    return std::nullopt;
  }
};

std::pair<std::string, std::size_t> required(const std::string& path, const Header& header,
                                             const std::string& key) {
  if (const auto found = header.find(key)) return *found;
  throw fileError(path, 0, "K-NET header has no '" + key + "' line");
}

double positiveNumber(const std::string& path, const std::pair<std::string, std::size_t>& entry,
                      std::string text, const std::string& what) {
  const std::optional<double> value = parseNumber(text);
  if (!value || !(*value > 0.0) || !std::isfinite(*value))
    throw fileError(path, entry.second,
                    what + " must be a positive number, not '" + entry.first + "'");
  return *value;
}

double samplingRate(const std::string& path, const Header& header) {
  const auto entry = required(path, header, "Sampling Freq(Hz)");
  std::string text = entry.first;
  if (text.size() >= 2 && toUpper(text.substr(text.size() - 2)) == "HZ")
    text = text.substr(0, text.size() - 2);
  const double rate = positiveNumber(path, entry, text, "the sampling frequency");
  if (!std::isfinite(1.0 / rate))
    throw fileError(path, entry.second,
                    "the sampling frequency '" + entry.first + "' is too small to give a time step");
  return rate;
}

struct Scale {
  double factor = 0.0;
  std::string unit;
};

// "3920(gal)/6182761": the numerator, its unit, the denominator.
Scale scaleFactor(const std::string& path, const Header& header) {
  const auto entry = required(path, header, "Scale Factor");
  const std::string& text = entry.first;
  const auto open = text.find('(');
  const auto close = text.find(')');
  const auto slash = text.find('/', close == std::string::npos ? 0 : close);
  if (open == std::string::npos || close == std::string::npos || slash == std::string::npos ||
      close < open)
    throw fileError(path, entry.second,
                    "malformed scale factor '" + text + "': expected e.g. '3920(gal)/6182761'");
  const double numerator = positiveNumber(path, entry, text.substr(0, open), "the scale factor");
  const double denominator =
      positiveNumber(path, entry, text.substr(slash + 1), "the scale factor");
  Scale scale{numerator / denominator, ""};
  if (!std::isfinite(scale.factor))
    throw fileError(path, entry.second,
                    "the scale factor '" + text + "' is too large to compute with: a count times " +
                        "it would not be a number");
  try {
    scale.unit = findUnit(text.substr(open + 1, close - open - 1)).name;
  } catch (const Error& error) {
    throw fileError(path, entry.second, error.what());
  }
  return scale;
}

Header headerOf(const std::string& path, const std::vector<std::string>& lines) {
  for (std::size_t i = 0; i < lines.size() && i < kMaxHeaderLines; ++i)
    if (startsWithNoCase(lines[i], "Memo.")) return Header{&lines, i + 1};
  throw fileError(path, 0, "K-NET header is incomplete: no 'Memo.' line before the counts");
}

// Duration is stated in whole seconds: the samples must last it to within one second.
void checkDuration(const std::string& path, const Header& header, std::size_t count, double rate) {
  const auto entry = header.find("Duration Time(s)");
  if (!entry) return;
  const double stated = positiveNumber(path, *entry, entry->first, "the duration");
  const double lasting = static_cast<double>(count) / rate;
  if (std::fabs(lasting - stated) >= 1.0)
    throw fileError(path, entry->second,
                    fmt::format("the header gives a duration of {} s but the {} samples at {} Hz "
                                "last {} s: the file is cut short or damaged",
                                entry->first, count, roundTrip(rate), roundTrip(lasting)));
}

RecordInfo infoOf(const Header& header, double mean, const std::string& unit) {
  auto value = [&](const std::string& key) {
    const auto entry = header.find(key);
    return entry ? entry->first : std::string();
  };
  RecordInfo info;
  info.format = "K-NET/KiK-net ASCII";
  info.event = value("Origin Time");
  if (!value("Mag.").empty()) info.event += ", M " + value("Mag.");
  info.station = value("Station Code");
  info.component = value("Dir.");
  info.startTime = value("Record Time");
  info.note = fmt::format(
      "mean of the record ({:.6g} {}) removed; start time as stated, with the "
      "recorder's 15 s trigger delay",
      mean, unit);
  return info;
}

}  // namespace

bool looksLikeKnet(const std::vector<std::string>& lines) {
  if (lines.empty() || !startsWithNoCase(lines[0], "Origin Time")) return false;
  for (std::size_t i = 1; i < lines.size() && i < kMaxHeaderLines; ++i)
    if (startsWithNoCase(lines[i], "Scale Factor")) return true;
  return false;
}

Record readKnet(const std::string& path, const std::vector<std::string>& lines) {
  const Header header = headerOf(path, lines);
  const double rate = samplingRate(path, header);
  const Scale scale = scaleFactor(path, header);
  Record record{path, {}, 1.0 / rate, scale.unit};
  for (std::size_t i = header.end; i < lines.size(); ++i)
    for (double count : numbersAtBlanks(path, i + 1, lines[i])) {
      if (!std::isfinite(count)) throw fileError(path, i + 1, "a count is not finite");
      const double acceleration = count * scale.factor;
      if (!std::isfinite(acceleration))
        throw fileError(path, i + 1,
                        "the count " + roundTrip(count) + " times the scale factor is too large");
      record.samples.push_back(acceleration);
    }
  if (record.samples.empty()) throw fileError(path, 0, "no counts follow the K-NET header");
  checkDuration(path, header, record.samples.size(), rate);
  double sum = 0.0;
  for (double a : record.samples) sum += a;
  const double mean = sum / static_cast<double>(record.samples.size());
  for (double& a : record.samples) a -= mean;
  // Counts near the largest double overflow in the sum or once the mean is removed.
  for (double a : record.samples)
    if (!std::isfinite(a))
      throw fileError(path, 0,
                      "the counts times the scale factor are too large to remove their mean: "
                      "check the scale factor and the counts");
  record.info = infoOf(header, mean, scale.unit);
  return record;
}

}  // namespace records
