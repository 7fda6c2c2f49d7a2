// Label texts from the quantity table of the modules (core/spectra/quantities.h).
#include "cli/writers/labels.h"

#include <fmt/format.h>

#include <cmath>

namespace cli {

namespace {

std::string capitalised(std::string words) {
  if (!words.empty() && words[0] >= 'a' && words[0] <= 'z')
    words[0] = static_cast<char>(words[0] - 'a' + 'A');
  return words;
}

std::string withUnit(std::string text, const std::string& unit) {
  return unit.empty() ? text : text + " [" + unit + "]";
}

}  // namespace

std::string shortNumber(double value, int digits) {
  if (!std::isfinite(value)) return fmt::format("{}", value);
  std::string text = fmt::format("{:.{}g}", value, digits);
  return text == "-0" ? "0" : text;
}

std::string axisLabel(const std::string& field, const OutputUnits& units) {
  const core::QuantityInfo* info = core::quantityOf(field);
  if (info == nullptr) return field;
  std::string text = capitalised(info->words);
  if (*info->symbol != '\0') text += std::string(" ") + info->symbol;
  return withUnit(text, units.ofField(field).display);
}

std::string columnLabel(const std::string& field, const OutputUnits& units) {
  const core::QuantityInfo* info = core::quantityOf(field);
  if (info == nullptr || *info->symbol == '\0') return withUnit(field, units.ofField(field).name);
  return withUnit(info->symbol, units.ofField(field).name);
}

std::string periodAxisLabel() { return "Period T [s]"; }

std::string sweptLabel(const std::string& swept, double value, const OutputUnits& units) {
  const core::QuantityInfo* info = core::quantityOf(swept);
  const std::string symbol = info == nullptr ? swept : info->symbol;
  if (swept == "zeta") return symbol + " = " + shortNumber(value * 100.0) + " %";
  const QuantityUnit& unit = units.ofField(swept);
  return symbol + " = " + shortNumber(value) + (unit.display.empty() ? "" : " " + unit.display);
}

std::string weightShareLabel(double share) { return "Qd/W = " + shortNumber(share); }

}  // namespace cli
