// Record-reader fuzz check: files are written to a private temporary folder and read back
// through records::readRecord, the entry the program uses.
#include "harness/record_check.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "harness/violation.h"
#include "records/error.h"
#include "records/numbers.h"
#include "records/record_reader.h"
#include "records/units.h"

namespace fuzz {

namespace {

constexpr std::size_t kMaxNameLength = 64;

// Memory-backed when the system has /dev/shm: a file on disk costs twenty times the reading.
std::filesystem::path temporaryRoot() {
  std::error_code error;
  if (std::filesystem::is_directory("/dev/shm", error)) return "/dev/shm";
  return std::filesystem::temp_directory_path();
}

// A folder of this process's own, removed when the process ends normally.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (temporaryRoot() / "spectra-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create " + pattern);
    path_ = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

const std::filesystem::path& scratchFolder() {
  static const ScratchFolder folder;
  return folder.path();
}

// A plain file name: no folder separators or NULs, never "." or "..".
std::string safeFileName(std::string name) {
  if (name.size() > kMaxNameLength) name.resize(kMaxNameLength);
  for (char& c : name)
    if (c == '/' || c == '\0') c = '_';
  if (name.empty() || name == "." || name == "..") return "record";
  return name;
}

// Small channel numbers, wrong ones included (0 asks for the only channel, negative ones must be
// refused); anything else is 0.
int channelOf(const std::string& value) {
  const std::optional<double> number = records::parseNumber(value);
  if (!number || !(*number >= -3.0 && *number <= 9.0) || *number != std::floor(*number)) return 0;
  return static_cast<int>(*number);
}

void applySetting(const std::string& setting, RecordInput& input) {
  const auto equals = setting.find('=');
  if (equals == std::string::npos) return;
  const std::string key = setting.substr(0, equals);
  const std::string value = setting.substr(equals + 1);
  if (key == "dt") input.dt = records::parseNumber(value);
  if (key == "column") input.column = value;
  if (key == "units") input.units = value;
  if (key == "scale") input.scale = records::parseNumber(value).value_or(1.0);
  if (key == "name") input.fileName = safeFileName(value);
  if (key == "channel") input.channel = channelOf(value);
}

void writeFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(content.data(), static_cast<std::streamsize>(content.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

void checkRecord(const records::Record& record, const RecordInput& input, const std::string& path) {
  require(record.path == path, "the record names another path: " + record.path);
  require(!record.samples.empty(), "a record without samples was accepted");
  for (std::size_t i = 0; i < record.samples.size(); ++i)
    require(std::isfinite(record.samples[i]),
            "sample " + std::to_string(i) + " is " + records::roundTrip(record.samples[i]));
  require(std::isfinite(record.dt) && record.dt > 0.0,
          "the time step is " + records::roundTrip(record.dt));
  if (!record.statedUnit.empty()) {
    try {
      require(records::findUnit(record.statedUnit).name == record.statedUnit,
              "the stated unit '" + record.statedUnit + "' is not a unit's canonical name");
    } catch (const records::Error&) {
      throw Violation("the stated unit '" + record.statedUnit + "' is no known unit");
    }
  }
  const records::UnitOptions units{input.units, "m/s2", input.scale};
  std::vector<double> converted;
  try {
    converted = records::samplesInOutputUnits(record, units);
  } catch (const records::Error&) {
    return;  // a unit option the file contradicts, or an unknown unit: the program's refusal
  }
  require(converted.size() == record.samples.size(), "the conversion changed the sample count");
  for (std::size_t i = 0; i < converted.size(); ++i)
    require(std::isfinite(converted[i]), "sample " + std::to_string(i) + " becomes " +
                                             records::roundTrip(converted[i]) + " in m/s2");
}

}  // namespace

std::string formatOf(ReaderKind kind) {
  switch (kind) {
    case ReaderKind::At2: return "at2";
    case ReaderKind::Cosmos: return "cosmos";
    case ReaderKind::Smc: return "smc";
    case ReaderKind::Knet: return "knet";
    case ReaderKind::Esm: return "esm";
    case ReaderKind::Columns: return "columns";
    case ReaderKind::Csv: return "csv";
    case ReaderKind::Any: return "auto";
  }
  return "auto";
}

RecordInput decodeRecordInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const auto newline = text.find('\n');
  RecordInput input;
  input.content = newline == std::string::npos ? "" : text.substr(newline + 1);
  const std::string options = text.substr(0, newline);
  std::size_t start = 0;
  while (start <= options.size()) {
    const auto bar = options.find('|', start);
    applySetting(options.substr(start, bar == std::string::npos ? bar : bar - start), input);
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  return input;
}

records::Record readRecordInput(ReaderKind kind, const RecordInput& input) {
  const std::string path = (scratchFolder() / input.fileName).string();
  writeFile(path, input.content);
  records::ReadOptions options;
  options.format = formatOf(kind);
  options.column = input.column;
  options.dt = input.dt;
  options.channel = input.channel;
  return records::readRecord(path, options);
}

void checkRecordInput(ReaderKind kind, const std::uint8_t* data, std::size_t size) {
  const RecordInput input = decodeRecordInput(data, size);
  const std::string path = (scratchFolder() / input.fileName).string();
  records::Record record;
  try {
    record = readRecordInput(kind, input);
  } catch (const records::Error& error) {
    const std::string message = error.what();
    require(message.rfind(path, 0) == 0, "the error does not name the file: " + message);
    require(message.size() > path.size() + 2, "the error says nothing: " + message);
    return;
  }
  checkRecord(record, input, path);
}

}  // namespace fuzz
