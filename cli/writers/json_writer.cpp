// JSON text of a spectrum (nlohmann::ordered_json keeps the structure's field order).
#include "cli/writers/json_writer.h"

#include <cmath>
#include <nlohmann/json.hpp>

namespace cli {

namespace {

using Json = nlohmann::ordered_json;

// JSON has no NaN or infinity; a null would lose which one it was.
Json number(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
  return value;
}

Json rowsOf(const SpectrumField& field) {
  Json rows = Json::array();
  for (std::size_t i = 0; i < field.rows; ++i) {
    Json row = Json::array();
    for (std::size_t j = 0; j < field.cols; ++j) row.push_back(number(field.data[j * field.rows + i]));
    rows.push_back(row);
  }
  return rows;
}

Json fieldOf(const SpectrumField& field, const OutputUnits& units) {
  Json json = {{"shape", {field.rows, field.cols}}, {"unit", units.ofField(field.name).name}};
  if (const core::QuantityInfo* info = core::quantityOf(field.name)) {
    json["symbol"] = info->symbol;
    json["quantity"] = info->words;
  }
  json["data"] = rowsOf(field);
  return json;
}

Json recordsOf(const Spectrum& spectrum) {
  Json records = Json::array();
  for (const records::RecordInfo& info : spectrum.infos)
    records.push_back({{"format", info.format},
                       {"event", info.event},
                       {"station", info.station},
                       {"component", info.component}});
  return records;
}

}  // namespace

std::string jsonText(const Spectrum& spectrum) {
  using core::Quantity;
  const OutputUnits& u = spectrum.units;
  Json fields = Json::object();
  for (const SpectrumField& field : spectrum.fields) fields[field.name] = fieldOf(field, u);
  Json document = {{"module", spectrum.module->name},
                   {"command", spectrum.module->command},
                   {"source", spectrum.source},
                   {"records", recordsOf(spectrum)},
                   {"units",
                    {{"acceleration", u.of(Quantity::Acceleration).name},
                     {"velocity", u.of(Quantity::Velocity).name},
                     {"displacement", u.of(Quantity::Displacement).name},
                     {"force", u.of(Quantity::Force).name},
                     {"mass", u.of(Quantity::Mass).name}}}};
  if (!spectrum.weightShares.empty()) document["QdOverW"] = spectrum.weightShares;
  document["fields"] = fields;
  return document.dump(1) + "\n";
}

}  // namespace cli
