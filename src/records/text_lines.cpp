// Text file access for the record readers.
#include "records/text_lines.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

#include "records/error.h"

namespace records {

namespace {

// strerror is not safe in the batch threads; the error category's message is.
std::string errnoText() { return std::error_code(errno, std::generic_category()).message(); }

}  // namespace

std::vector<std::string> readLines(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw fileError(path, 0, std::string("cannot open: ") + errnoText());
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
  }
  if (in.bad()) throw fileError(path, 0, "read error");
  // Spreadsheet programs start UTF-8 text with a byte-order mark.
  if (!lines.empty() && lines[0].rfind("\xEF\xBB\xBF", 0) == 0) lines[0].erase(0, 3);
  return lines;
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

}  // namespace records
