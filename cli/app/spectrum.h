// A computed spectrum: the gateway's output structure with what the writers need to label it.
#pragma once

#include <string>
#include <vector>

#include "cli/app/module_table.h"
#include "host/host.h"

namespace cli {

struct Spectrum {
  std::string source;  // the record file(s), or "synthetic record"
  std::string title;   // the same without folders, for plots
  const ModuleSpec* module = nullptr;
  std::string outUnits;   // acceleration unit of every output
  host::Outcome outcome;  // a successful call

  const std::vector<double>& periods() const { return outcome.values("T"); }
  const std::vector<double>& sweptValues() const { return outcome.values(module->swept); }
  // Fields with one value per period and swept value, in structure order.
  std::vector<std::string> matrixFields() const;
  // Column j (swept value j) of a matrix field, or a per-period field when j is 0.
  std::vector<double> column(const std::string& field, std::size_t j) const;
  // "zeta = 0.05"
  std::string sweptLabel(std::size_t j) const;
  // "dsp [m]"
  std::string fieldLabel(const std::string& field) const;
};

// The fields among names that hold one value per period and swept value.
std::vector<std::string> matrixFieldsOf(const std::vector<std::string>& names,
                                        const std::string& swept);

// The fields of the comma-separated list, each checked to be a matrix field of the module; the
// module's main fields when the list is empty.
std::vector<std::string> chosenFields(const ModuleSpec& spec, const std::string& list);

}  // namespace cli
