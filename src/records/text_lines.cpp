// Text file access for the record readers.
#include "records/text_lines.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <fstream>
#include <iterator>
#include <system_error>

#include "records/error.h"

namespace records {

namespace {

// strerror is not safe in the batch threads; the error category's message is.
std::string errnoText() { return std::error_code(errno, std::generic_category()).message(); }

}  // namespace

std::string readFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw fileError(path, 0, std::string("cannot open: ") + errnoText());
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw fileError(path, 0, "read error");
  return bytes;
}

std::vector<std::string> splitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  // Spreadsheet programs start UTF-8 text with a byte-order mark.
  if (text.rfind("\xEF\xBB\xBF", 0) == 0) start = 3;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

std::vector<std::string> readLines(const std::string& path) {
  return splitLines(readFileBytes(path));
}

std::vector<std::string> splitFields(const std::string& line) {
  std::vector<std::string> fields;
  std::string current;
  bool inToken = false;
  bool afterComma = false;
  for (char c : line) {
    if (c == ',' || c == ';') {
      if (!inToken && afterComma) fields.emplace_back();
      if (inToken) fields.push_back(current);
      current.clear();
      inToken = false;
      afterComma = true;
    } else if (c == ' ' || c == '\t') {
      if (inToken) fields.push_back(current);
      if (inToken) afterComma = false;
      current.clear();
      inToken = false;
    } else {
      current += c;
      inToken = true;
    }
  }
  if (inToken) fields.push_back(current);
  return fields;
}

bool isBlankOrComment(const std::string& line) {
  const auto first = line.find_first_not_of(" \t");
  return first == std::string::npos || line[first] == '#' || line[first] == '%';
}

std::string stripped(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string toUpper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

bool startsWithNoCase(const std::string& text, const std::string& prefix) {
  return text.size() >= prefix.size() && toUpper(text.substr(0, prefix.size())) == toUpper(prefix);
}

}  // namespace records
