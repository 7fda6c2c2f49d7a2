// Tables of the measures (histories, RotD, constant ductility, suites, scale factors) as a
// terminal table, CSV and JSON, from one description of their columns.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace cli {

// One column: what it holds in words and symbols, its unit ("-" for a ratio) and its values.
struct DataColumn {
  std::string name;  // e.g. "Sa RotD50 ζ=0.05"
  std::string unit;  // e.g. "m/s2"
  std::vector<double> values;
};

struct DataTable {
  std::vector<DataColumn> columns;  // all of one length
  std::size_t rows() const { return columns.empty() ? 0 : columns.front().values.size(); }
};

// "name [unit]" header, then one row per line; numbers read back bit for bit (nan, inf, -inf).
std::string csvOf(const DataTable& table);

// Right-aligned columns, six significant digits, the header over two lines (name, [unit]).
std::string terminalOf(const DataTable& table);

// A number for JSON: NaN and infinities as the strings "NaN", "Infinity", "-Infinity".
nlohmann::ordered_json jsonNumber(double value);

// {"columns": [{"name", "unit", "data": [...]}, ...]} merged into `document` under "columns".
void addColumns(nlohmann::ordered_json& document, const DataTable& table);

// The document's text as written to a .json file.
std::string jsonOf(const nlohmann::ordered_json& document);

// "FILE.csv" or "FILE.json": the table as CSV, or the document with the table's columns.
std::string dataFileText(const std::string& path, nlohmann::ordered_json document,
                         const DataTable& table);

}  // namespace cli
