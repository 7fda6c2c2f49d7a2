// Views of the output structure for the writers.
#include "cli/app/spectrum.h"

#include <algorithm>

#include "cli/app/error.h"
#include "cli/app/suggestions.h"
#include "cli/writers/labels.h"
#include "records/numbers.h"

namespace cli {

std::vector<SpectrumField> convertedFields(const host::Outcome& outcome, const OutputUnits& units) {
  std::vector<SpectrumField> fields;
  for (const std::string& name : outcome.fieldNames()) {
    const mxArray& array = outcome.field(name);
    fields.push_back({name, array.rows, array.cols, converted(array.data, units.ofField(name))});
  }
  return fields;
}

std::vector<std::string> matrixFieldsOf(const std::vector<std::string>& names,
                                        const std::string& swept) {
  const std::vector<std::string> notMatrix = {"pga", "mass", "W", "T", "f", swept};
  std::vector<std::string> fields;
  for (const std::string& name : names)
    if (std::find(notMatrix.begin(), notMatrix.end(), name) == notMatrix.end())
      fields.push_back(name);
  return fields;
}

std::vector<std::string> Spectrum::fieldNames() const {
  std::vector<std::string> names;
  for (const SpectrumField& f : fields) names.push_back(f.name);
  return names;
}

const SpectrumField& Spectrum::field(const std::string& name) const {
  for (const SpectrumField& f : fields)
    if (f.name == name) return f;
  throw Error("the output of " + module->name + " has no field '" + name + "'");
}

std::vector<std::string> Spectrum::matrixFields() const {
  return matrixFieldsOf(fieldNames(), module->swept);
}

std::vector<double> Spectrum::column(const std::string& name, std::size_t j) const {
  const SpectrumField& f = field(name);
  const std::size_t rows = periods().size();
  std::vector<double> values(rows);
  for (std::size_t i = 0; i < rows && j * rows + i < f.data.size(); ++i)
    values[i] = f.data[j * rows + i];
  return values;
}

std::string Spectrum::sweptLabel(std::size_t j) const {
  if (j < weightShares.size()) return weightShareLabel(weightShares[j]);
  return cli::sweptLabel(module->swept, sweptValues().at(j), units);
}

std::string Spectrum::sweptKey(std::size_t j) const {
  if (j < weightShares.size()) return "Qd/W=" + records::roundTrip(weightShares[j]);
  return module->swept + "=" + records::roundTrip(sweptValues().at(j));
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
      throw Error("--fields: '" + name + "' is not a field of " + spec.name +
                  didYouMean(name, known) + " (fields: " + names + ")");
    }
    fields.push_back(name);
    start = comma + 1;
  }
  return fields;
}

}  // namespace cli
