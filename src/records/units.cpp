// Unit table: SI factors are exact by definition (standard gravity, inch, foot).
#include "records/units.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "records/error.h"

namespace records {

namespace {

constexpr double kStandardGravity = 9.80665;

const std::array<Unit, 7>& units() {
  static const std::array<Unit, 7> table = {{
      {"g", kStandardGravity, "g*s2", "g*s"},
      {"mg", kStandardGravity / 1000, "mg*s2", "mg*s"},
      {"m/s2", 1.0, "m", "m/s"},
      {"cm/s2", 0.01, "cm", "cm/s"},
      {"mm/s2", 0.001, "mm", "mm/s"},
      {"in/s2", 0.0254, "in", "in/s"},
      {"ft/s2", 0.3048, "ft", "ft/s"},
  }};
  return table;
}

// Lower case, "^2", "**2" and "²" to "2", "sec" to "s", "/s/s" to "/s2", no spaces.
std::string normalised(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '^' || c == '*' || std::isspace(c)) continue;
    if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0xB2) {
      out += '2';
      ++i;
      continue;
    }
    out += static_cast<char>(std::tolower(c));
  }
  for (const auto& [from, to] :
       {std::pair<std::string, std::string>{"sec", "s"}, {"/s/s", "/s2"}}) {
    for (auto at = out.find(from); at != std::string::npos; at = out.find(from, at + to.size()))
      out.replace(at, from.size(), to);
  }
  if (out == "gal") return "cm/s2";
  return out;
}

const Unit* lookUp(const std::string& text) {
  const std::string name = normalised(text);
  for (const Unit& unit : units())
    if (unit.name == name) return &unit;
  return nullptr;
}

}  // namespace

const Unit& findUnit(const std::string& text) {
  if (const Unit* unit = lookUp(text)) return *unit;
  throw Error("unknown acceleration unit '" + text +
              "' (known: g, mg, m/s2, cm/s2 or gal, mm/s2, in/s2, ft/s2)");
}

std::string unitInHeader(const std::string& header) {
  const auto open = header.find_first_of("([");
  if (open == std::string::npos) return "";
  const auto close = header.find_first_of(")]", open);
  if (close == std::string::npos) return "";
  const std::string text = header.substr(open + 1, close - open - 1);
  if (const Unit* unit = lookUp(text)) return unit->name;
  // Something like "ft/min2" is a unit we cannot convert: say so rather than assume g.
  if (text.find('/') != std::string::npos) throw Error("unknown acceleration unit '" + text + "'");
  return "";
}

double gravityIn(const Unit& unit) { return kStandardGravity / unit.metresPerS2; }

double conversionFactor(const Unit& from, const Unit& to, double scale) {
  if (from.name == to.name) return scale;
  return from.metresPerS2 / to.metresPerS2 * scale;
}

}  // namespace records
