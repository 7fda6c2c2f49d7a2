// Fortran fixed-width fields, as written by the agencies' processing programs.
#include "records/fortran_fields.h"

#include <cctype>
#include <cmath>

#include "records/error.h"
#include "records/numbers.h"
#include "records/text_lines.h"

namespace records {

namespace {

// Digits at text[pos...], advancing pos; nullopt when there are none.
std::optional<std::size_t> digitsAt(const std::string& text, std::size_t& pos) {
  std::size_t value = 0;
  const std::size_t start = pos;
  while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos])) &&
         pos - start < 6)
    value = value * 10 + static_cast<std::size_t>(text[pos++] - '0');
  if (pos == start) return std::nullopt;
  return value;
}

std::string compact(const std::string& format) {
  std::string out;
  for (char c : format)
    if (c != ' ' && c != '(' && c != ')')
      out += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// Fixed-width fields of the line, trimmed; trailing blank fields dropped, blank inner ones kept.
std::vector<std::string> fixedFields(const std::string& line, std::size_t width) {
  std::vector<std::string> fields;
  for (std::size_t at = 0; at < line.size(); at += width)
    fields.push_back(stripped(line.substr(at, width)));
  while (!fields.empty() && fields.back().empty()) fields.pop_back();
  return fields;
}

std::optional<std::vector<double>> allNumbers(const std::vector<std::string>& fields) {
  std::vector<double> values;
  for (const std::string& field : fields) {
    const std::optional<double> value = parseNumber(field);
    if (!value) return std::nullopt;
    values.push_back(*value);
  }
  return values;
}

}  // namespace

std::optional<FieldLayout> parseFortranFormat(const std::string& format) {
  const std::string text = compact(format);
  std::size_t pos = 0;
  // A scale factor such as "1P" or "1P," changes how numbers are printed, not where.
  std::size_t mark = pos;
  if (digitsAt(text, mark) && mark < text.size() && text[mark] == 'P') {
    pos = mark + 1;
    if (pos < text.size() && text[pos] == ',') ++pos;
  }
  const std::size_t repeat = digitsAt(text, pos).value_or(1);
  if (pos >= text.size()) return std::nullopt;
  std::string kind(1, text[pos++]);
  if (pos < text.size() && (text[pos] == 'S' || text[pos] == 'N') && kind == "E")
    kind += text[pos++];
  if (kind != "F" && kind != "E" && kind != "ES" && kind != "EN" && kind != "D" && kind != "G" &&
      kind != "I")
    return std::nullopt;
  const std::optional<std::size_t> width = digitsAt(text, pos);
  if (!width || *width == 0 || repeat == 0) return std::nullopt;
  // The decimals and an exponent width (".5", ".7E2") do not change the layout.
  if (pos < text.size() && text[pos] == '.') {
    ++pos;
    if (!digitsAt(text, pos)) return std::nullopt;
    if (pos < text.size() && text[pos] == 'E') {
      ++pos;
      if (!digitsAt(text, pos)) return std::nullopt;
    }
  }
  if (pos != text.size()) return std::nullopt;
  return FieldLayout{repeat, *width};
}

std::vector<double> numbersInFields(const std::string& path, std::size_t lineNumber,
                                    const std::string& line, const FieldLayout& layout) {
  if (const auto values = allNumbers(fixedFields(line, layout.width))) return *values;
  const std::vector<std::string> tokens = splitFields(line);
  for (const std::string& token : tokens)
    if (!parseNumber(token)) throw fileError(path, lineNumber, "'" + token + "' is not a number");
  return *allNumbers(tokens);
}

}  // namespace records
