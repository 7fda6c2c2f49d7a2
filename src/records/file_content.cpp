// Content checks before a reader is chosen: magic bytes of common binary formats, control bytes.
#include "records/file_content.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <system_error>

#include "records/error.h"
#include "records/numbers.h"
#include "records/text_lines.h"

namespace records {

const char* const kFormatsRead =
    "PEER NGA AT2, COSMOS V1/V2, USGS SMC, K-NET/KiK-net ASCII, ESM ASCII, columns of numbers or "
    "CSV with a header row";

namespace {

struct Magic {
  const char* bytes;
  std::size_t size;
  const char* kind;
};

// Leading bytes of the binary files most often given by mistake.
const std::array<Magic, 16> kMagics = {{
    {"\x89PNG\r\n\x1a\n", 8, "a PNG image"},
    {"\xFF\xD8\xFF", 3, "a JPEG image"},
    {"GIF8", 4, "a GIF image"},
    {"II*\0", 4, "a TIFF image"},
    {"MM\0*", 4, "a TIFF image"},
    {"%PDF-", 5, "a PDF document"},
    {"PK\x03\x04", 4, "a ZIP archive (or an Office document such as .xlsx)"},
    {"PK\x05\x06", 4, "a ZIP archive"},
    {"\x1F\x8B", 2, "a gzip-compressed file"},
    {"BZh", 3, "a bzip2-compressed file"},
    {"\xFD"
     "7zXZ",
     5, "an xz-compressed file"},
    {"7z\xBC\xAF\x27\x1C", 6, "a 7-Zip archive"},
    {"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8, "an old Office document (such as .xls)"},
    {"MATLAB 5.0 MAT-file", 19, "a MATLAB .mat file"},
    {"\xFF\xFE", 2, "UTF-16 text; save it as UTF-8 or ASCII text"},
    {"\xFE\xFF", 2, "UTF-16 text; save it as UTF-8 or ASCII text"},
}};

// Bytes examined for control characters; text records have none besides tab, CR, LF, FF.
constexpr std::size_t kSniffBytes = 1 << 16;
constexpr double kControlShare = 0.01;
constexpr const char* kBinaryData = "binary data";

bool isRecordLikeName(const std::filesystem::path& file) {
  std::string extension = toUpper(file.extension().string());
  static const std::array<const char*, 18> known = {".AT2", ".V1",  ".V2",  ".V1C", ".V2C", ".SMC",
                                                    ".NS",  ".EW",  ".UD",  ".NS1", ".EW1", ".UD1",
                                                    ".NS2", ".EW2", ".UD2", ".ASC", ".TXT", ".CSV"};
  return std::find(known.begin(), known.end(), extension) != known.end();
}

// "such as <folder>/<file>" for the first record-like file inside, or "".
std::string exampleInside(const std::string& folder) {
  std::error_code error;
  std::vector<std::string> names;
  for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
       it.increment(error))
    if (it->is_regular_file(error) && isRecordLikeName(it->path()))
      names.push_back(it->path().string());
  if (names.empty()) return "";
  return ", such as " + *std::min_element(names.begin(), names.end());
}

}  // namespace

std::optional<std::string> binaryKind(const std::string& bytes) {
  for (const Magic& magic : kMagics)
    if (bytes.compare(0, magic.size, magic.bytes, magic.size) == 0) return std::string(magic.kind);
  const std::size_t size = std::min(bytes.size(), kSniffBytes);
  std::size_t control = 0;
  for (std::size_t i = 0; i < size; ++i) {
    const unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (c == 0) return std::string(kBinaryData);
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != 0x1A) ++control;
  }
  if (static_cast<double>(control) > kControlShare * static_cast<double>(size))
    return std::string(kBinaryData);
  return std::nullopt;
}

std::vector<std::string> recordFileLines(const std::string& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error))
    throw Error(path + " is a folder; give a record file inside it" + exampleInside(path));
  const std::string bytes = readFileBytes(path);
  if (bytes.find_first_not_of(" \t\r\n\f") == std::string::npos)
    throw fileError(path, 0,
                    std::string("the file is empty; give a record file with the accelerations (") +
                        kFormatsRead + ")");
  if (const std::optional<std::string> kind = binaryKind(bytes))
    throw fileError(path, 0,
                    std::string("not a text record: the file ") +
                        (*kind == kBinaryData ? "holds " : "is ") + *kind +
                        ". Give the accelerations as a text file (" + kFormatsRead + ")");
  return splitLines(bytes);
}

void expectTableOfNumbers(const std::string& path, const std::vector<std::string>& lines) {
  std::size_t numeric = 0;
  std::size_t counted = 0;
  for (const std::string& line : lines) {
    if (isBlankOrComment(line)) continue;
    ++counted;
    const std::vector<std::string> fields = splitFields(line);
    if (std::all_of(fields.begin(), fields.end(),
                    [](const std::string& field) { return parseNumber(field).has_value(); }))
      ++numeric;
  }
  if (2 * numeric >= counted) return;
  const std::string what =
      numeric == 0 ? "the file holds text but no line of numbers"
                   : fmt::format(
                         "the file is mostly text: {} of its {} lines are numbers (text "
                         "above a table must start with '#')",
                         numeric, counted);
  throw fileError(
      path, 0, "no accelerations found: " + what + ". Give a record file (" + kFormatsRead + ")");
}

}  // namespace records
