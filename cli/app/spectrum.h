// A computed spectrum: the module's output structure in the output units, with what the writers
// need to label it.
#pragma once

#include <string>
#include <vector>

#include "cli/app/module_table.h"
#include "cli/writers/quantity_units.h"
#include "host/host.h"
#include "records/record.h"

namespace cli {

// One field of the output structure, column-major as the module wrote it.
struct SpectrumField {
  std::string name;
  std::size_t rows = 0, cols = 0;
  std::vector<double> data;  // in the output unit of the field's quantity
};

struct Spectrum {
  std::string source;  // the record file(s), or "synthetic record"
  std::string title;   // the same without folders, for plots
  std::vector<records::RecordInfo> infos;  // what each record file says: event, station, ...
  const ModuleSpec* module = nullptr;
  OutputUnits units;
  std::vector<double> weightShares;  // Qd/W per swept value when Qd was given so
  std::string setting;               // the inputs other than the swept one, e.g. "R = 4"
  std::vector<SpectrumField> fields;

  std::vector<std::string> fieldNames() const;
  // A field by name; an Error for a name the structure does not have.
  const SpectrumField& field(const std::string& name) const;
  const std::vector<double>& values(const std::string& name) const { return field(name).data; }
  const std::vector<double>& periods() const { return values("T"); }
  const std::vector<double>& sweptValues() const { return values(module->swept); }
  // Fields with one value per period and swept value, in structure order.
  std::vector<std::string> matrixFields() const;
  // Column j (swept value j) of a matrix field, or a per-period field when j is 0.
  std::vector<double> column(const std::string& field, std::size_t j) const;
  // For legends and tables: "ζ = 5 %", "μ = 0.05", "Qd/W = 0.03", "Qd = 490 N".
  std::string sweptLabel(std::size_t j) const;
  // For data headers: "zeta=0.05", "Qd/W=0.03", "Qd=490".
  std::string sweptKey(std::size_t j) const;
};

// The fields of an output structure, each converted once to the output unit of its quantity.
std::vector<SpectrumField> convertedFields(const host::Outcome& outcome, const OutputUnits& units);

// The fields among names that hold one value per period and swept value.
std::vector<std::string> matrixFieldsOf(const std::vector<std::string>& names,
                                        const std::string& swept);

// The fields of the comma-separated list, each checked to be a matrix field of the module; the
// module's main fields when the list is empty.
std::vector<std::string> chosenFields(const ModuleSpec& spec, const std::string& list);

}  // namespace cli
