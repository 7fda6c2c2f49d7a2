// Views of the output structure for the writers.
#include "cli/app/spectrum.h"

#include <algorithm>

#include "cli/app/error.h"
#include "cli/writers/field_units.h"
#include "records/numbers.h"

namespace cli {

std::vector<std::string> matrixFieldsOf(const std::vector<std::string>& names,
                                        const std::string& swept) {
  const std::vector<std::string> notMatrix = {"pga", "mass", "W", "T", "f", swept};
  std::vector<std::string> fields;
  for (const std::string& name : names)
    if (std::find(notMatrix.begin(), notMatrix.end(), name) == notMatrix.end())
      fields.push_back(name);
  return fields;
}

std::vector<std::string> Spectrum::matrixFields() const {
  return matrixFieldsOf(outcome.fieldNames(), module->swept);
}

std::vector<double> Spectrum::column(const std::string& field, std::size_t j) const {
  const mxArray& array = outcome.field(field);
  const std::size_t rows = periods().size();
  std::vector<double> values(rows);
  for (std::size_t i = 0; i < rows && j * rows + i < array.data.size(); ++i)
    values[i] = array.data[j * rows + i];
  return values;
}

std::string Spectrum::sweptLabel(std::size_t j) const {
  return module->swept + " = " + records::roundTrip(sweptValues().at(j));
}

std::string Spectrum::fieldLabel(const std::string& field) const {
  return field + " [" + fieldUnit(field, records::findUnit(outUnits)) + "]";
}

std::vector<std::string> chosenFields(const ModuleSpec& spec, const std::string& list) {
  if (list.empty()) return spec.mainFields;
  const std::vector<std::string> known = matrixFieldsOf(spec.fields, spec.swept);
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (start <= list.size()) {
    const std::size_t comma = std::min(list.find(',', start), list.size());
    const std::string name = list.substr(start, comma - start);
    if (std::find(known.begin(), known.end(), name) == known.end()) {
      std::string names;
      for (const std::string& k : known) names += (names.empty() ? "" : ", ") + k;
      throw Error("--fields: '" + name + "' is not a field of " + spec.name + " (fields: " + names +
                  ")");
    }
    fields.push_back(name);
    start = comma + 1;
  }
  return fields;
}

}  // namespace cli
