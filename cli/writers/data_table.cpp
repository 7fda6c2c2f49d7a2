// Text, CSV and JSON of the measures' tables.
#include "cli/writers/data_table.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "records/numbers.h"

namespace cli {

namespace {

constexpr std::size_t kMinWidth = 13;

std::size_t widthOf(const DataColumn& c) {
  // Header widths count characters, not bytes: ζ, μ and σ are two bytes in UTF-8.
  const auto characters = [](const std::string& text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](char ch) { return (ch & 0xC0) != 0x80; }));
  };
  return std::max({kMinWidth, characters(c.name) + 2, characters(c.unit) + 4});
}

// Right-aligns text of `characters` visible characters in `width`.
std::string padded(const std::string& text, std::size_t width) {
  const auto visible = static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char ch) { return (ch & 0xC0) != 0x80; }));
  return std::string(width > visible ? width - visible : 0, ' ') + text;
}

}  // namespace

std::string csvOf(const DataTable& table) {
  std::string text;
  for (std::size_t c = 0; c < table.columns.size(); ++c)
    text += (c ? "," : "") + table.columns[c].name + " [" + table.columns[c].unit + "]";
  text += '\n';
  for (std::size_t i = 0; i < table.rows(); ++i) {
    for (std::size_t c = 0; c < table.columns.size(); ++c)
      text += (c ? "," : "") + records::roundTrip(table.columns[c].values[i]);
    text += '\n';
  }
  return text;
}

std::string terminalOf(const DataTable& table) {
  std::string names, units;
  for (const DataColumn& c : table.columns) {
    names += padded(c.name, widthOf(c));
    units += padded("[" + c.unit + "]", widthOf(c));
  }
  std::string text = names + "\n" + units + "\n";
  for (std::size_t i = 0; i < table.rows(); ++i) {
    for (const DataColumn& c : table.columns)
      text += fmt::format("{:>{}.6g}", c.values[i], widthOf(c));
    text += '\n';
  }
  return text;
}

nlohmann::ordered_json jsonNumber(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
  return value;
}

void addColumns(nlohmann::ordered_json& document, const DataTable& table) {
  nlohmann::ordered_json columns = nlohmann::ordered_json::array();
  for (const DataColumn& c : table.columns) {
    nlohmann::ordered_json data = nlohmann::ordered_json::array();
    for (double value : c.values) data.push_back(jsonNumber(value));
    columns.push_back({{"name", c.name}, {"unit", c.unit}, {"data", std::move(data)}});
  }
  document["columns"] = std::move(columns);
}

std::string jsonOf(const nlohmann::ordered_json& document) { return document.dump(1) + "\n"; }

std::string dataFileText(const std::string& path, nlohmann::ordered_json document,
                         const DataTable& table) {
  if (std::filesystem::path(path).extension() == ".json") {
    addColumns(document, table);
    return jsonOf(document);
  }
  return csvOf(table);
}

}  // namespace cli
