// Header text helpers shared by the COSMOS, SMC, K-NET and ESM readers.
#include "records/header_text.h"

#include <cctype>
#include <cmath>

#include "records/numbers.h"
#include "records/text_lines.h"

namespace records {

namespace {

std::optional<long long> wholeNumber(const std::string& token) {
  const std::optional<double> value = parseNumber(token);
  if (!value || *value != std::floor(*value) || std::fabs(*value) > 1e15) return std::nullopt;
  if (token.find_first_of(".eEdD") != std::string::npos) return std::nullopt;
  return static_cast<long long>(*value);
}

}  // namespace

std::optional<long long> leadingInteger(const std::string& line) {
  const std::vector<std::string> tokens = splitFields(line);
  if (tokens.empty()) return std::nullopt;
  return wholeNumber(tokens[0]);
}

std::optional<long long> integerBefore(const std::string& line, const std::string& word) {
  const auto at = toUpper(line).find(toUpper(word));
  if (at == std::string::npos) return std::nullopt;
  std::size_t end = at;
  while (end > 0 && line[end - 1] == ' ') --end;
  std::size_t start = end;
  while (start > 0 && std::isdigit(static_cast<unsigned char>(line[start - 1]))) --start;
  if (start == end) return std::nullopt;
  return wholeNumber(line.substr(start, end - start));
}

std::optional<std::string> textAfter(const std::string& line, const std::string& key) {
  const auto at = toUpper(line).find(toUpper(key));
  if (at == std::string::npos) return std::nullopt;
  return line.substr(at + key.size());
}

std::string collapsedBlanks(const std::string& text) {
  std::string out;
  for (char c : stripped(text)) {
    if ((c == ' ' || c == '\t') && !out.empty() && out.back() == ' ') continue;
    out += (c == '\t' ? ' ' : c);
  }
  return out;
}

}  // namespace records
