// JSON text of a spectrum (nlohmann::ordered_json keeps the structure's field order).
#include "cli/writers/json_writer.h"

#include <cmath>
#include <nlohmann/json.hpp>

#include "cli/writers/field_units.h"

namespace cli {

namespace {

using Json = nlohmann::ordered_json;

// JSON has no NaN or infinity; a null would lose which one it was.
Json number(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
  return value;
}

Json rowsOf(const mxArray& array) {
  Json rows = Json::array();
  for (std::size_t i = 0; i < array.rows; ++i) {
    Json row = Json::array();
    for (std::size_t j = 0; j < array.cols; ++j)
      row.push_back(number(array.data[j * array.rows + i]));
    rows.push_back(row);
  }
  return rows;
}

}  // namespace

std::string jsonText(const Spectrum& spectrum) {
  const records::Unit& unit = records::findUnit(spectrum.outUnits);
  Json fields = Json::object();
  for (const std::string& name : spectrum.outcome.fieldNames()) {
    const mxArray& array = spectrum.outcome.field(name);
    fields[name] = {{"shape", {array.rows, array.cols}},
                    {"unit", fieldUnit(name, unit)},
                    {"data", rowsOf(array)}};
  }
  Json document = {{"module", spectrum.module->name},
                   {"command", spectrum.module->command},
                   {"source", spectrum.source},
                   {"units",
                    {{"acceleration", unit.name},
                     {"velocity", unit.velocity},
                     {"displacement", unit.length},
                     {"force", "mass*" + unit.name}}},
                   {"fields", fields}};
  return document.dump(1) + "\n";
}

}  // namespace cli
