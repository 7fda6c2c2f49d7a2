// Strict number parsing: every character of a token must belong to the number.
#include "records/numbers.h"

#include <fmt/format.h>

#include <charconv>
#include <cmath>

#include "records/error.h"

namespace records {

namespace {

std::string_view trim(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r\n");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::optional<double> parseNumber(std::string_view token) {
  token = trim(token);
  if (!token.empty() && token.front() == '+') token.remove_prefix(1);
  if (token.empty() || token.front() == '+') return std::nullopt;
  std::string text(token);
  // Old Fortran-written records use D for the exponent.
  for (char& c : text)
    if (c == 'D' || c == 'd') c = 'E';
  double value = 0.0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (error != std::errc() || stop != end) return std::nullopt;
  return value;
}

double parseFinite(std::string_view token, const std::string& what) {
  const std::optional<double> value = parseNumber(token);
  if (!value) throw Error(what + ": '" + std::string(trim(token)) + "' is not a number");
  if (!std::isfinite(*value))
    throw Error(what + ": '" + std::string(trim(token)) + "' is not a finite number");
  return *value;
}

std::vector<double> parseList(const std::string& text, const std::string& what) {
  std::vector<double> values;
  if (trim(text).empty()) throw Error(what + ": the list is empty");
  std::size_t start = 0;
  while (true) {
    const std::size_t comma = text.find(',', start);
    const std::string item = text.substr(start, comma == std::string::npos ? comma : comma - start);
    if (trim(item).empty()) throw Error(what + ": empty item in '" + text + "'");
    values.push_back(parseFinite(item, what));
    if (comma == std::string::npos) return values;
    start = comma + 1;
  }
}

std::string roundTrip(double value) { return fmt::format("{}", value); }

}  // namespace records
