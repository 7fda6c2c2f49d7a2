// Module table: each module's calling form and fields come from the module's own declaration;
// the program adds its command names, summaries, main fields and default periods.
#include "cli/app/module_table.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <stdexcept>

#include "daskent/gateway.h"
#include "granwick/gateway.h"
#include "morbane/gateway.h"
#include "pellory/gateway.h"
#include "quorvel/gateway.h"
#include "tillock/gateway.h"
#include "tillock/gateway_weight.h"
#include "vintarrow/gateway.h"

namespace cli {

namespace {

using Fields = std::vector<std::string>;

const Fields kElasticMain = {"psdAcc", "psdVel", "dsp"};
const Fields kInelasticMain = {"psdYieldAcc", "muFact", "dsp", "RFact"};
const Fields kIsolatorMain = {"dsp", "totAcc", "effT", "effZeta"};
// Elastic: Sa and Sd; inelastic: the yield-strength spectrum fy/m and the ductility demand;
// isolators: the displacement and the total acceleration.
const Fields kElasticPlot = {"psdAcc", "dsp"};
const Fields kInelasticPlot = {"psdYieldAcc", "muFact"};
const Fields kIsolatorPlot = {"dsp", "totAcc"};
const std::string kShortPeriods = "0.05:5:100";
const std::string kIsolatorPeriods = "0.5:6:56";

// The program's option for an input of a calling form, by the input's kind and name.
Slot slotOf(const gateway::InputInfo& input, int recordsBefore) {
  using K = gateway::InputKind;
  switch (input.kind) {
    case K::Record: return recordsBefore == 0 ? Slot::Record : Slot::Record2;
    case K::Swept: return Slot::Swept;
    case K::Periods: return Slot::Periods;
    case K::Fraction: return Slot::Alpha;
    case K::Keyword: return input.optional ? Slot::Method : Slot::Strength;
    case K::Scalar: break;
  }
  const std::string name = input.name;
  if (name == "dt") return Slot::Dt;
  if (name == "m") return Slot::Mass;
  if (name == "W") return Slot::Weight;
  if (name == "g") return Slot::Gravity;
  if (name == "kin") return Slot::Kin;
  if (name == "iso") return Slot::Iso;
  if (name == "para") return Slot::Para;
  if (name == "uy") return Slot::Uy;
  throw std::logic_error("no option for input " + name);
}

ModuleSpec describe(const std::string& command, const std::string& summary,
                    host::Gateway gateway, const gateway::Signature& signature,
                    const Fields& mainFields, const Fields& plotFields,
                    const std::string& defaultPeriods) {
  ModuleSpec spec;
  spec.command = command;
  spec.name = signature.module;
  spec.summary = summary;
  spec.gateway = gateway;
  spec.components = 0;
  for (const gateway::InputInfo& input : signature.inputs) {
    spec.slots.push_back(slotOf(input, spec.components));
    if (input.kind == gateway::InputKind::Record) ++spec.components;
    if (input.kind == gateway::InputKind::Swept) spec.swept = input.name;
  }
  for (const gateway::Field& field : signature.fields) spec.fields.push_back(field.name);
  spec.mainFields = mainFields;
  spec.plotFields = plotFields;
  spec.defaultPeriods = defaultPeriods;
  return spec;
}

std::vector<ModuleSpec> buildTable() {
  return {
      describe("elastic", "linear elastic oscillator", quorvel::mexFunction,
               quorvel::signature(), kElasticMain, kElasticPlot, kShortPeriods),
      describe("elastic2d", "linear elastic oscillator, two components", daskent::mexFunction,
               daskent::signature(), kElasticMain, kElasticPlot, kShortPeriods),
      describe("inelastic", "inelastic oscillator with hardening", morbane::mexFunction,
               morbane::signature(), kInelasticMain, kInelasticPlot, kShortPeriods),
      describe("fps", "friction-pendulum isolator", tillock::mexFunction, tillock::signature(),
               kIsolatorMain, kIsolatorPlot, kIsolatorPeriods),
      describe("fps2d", "friction-pendulum isolator, two components", granwick::mexFunction,
               granwick::signature(), kIsolatorMain, kIsolatorPlot, kIsolatorPeriods),
      describe("lrb", "lead-rubber-bearing isolator", pellory::mexFunction, pellory::signature(),
               kIsolatorMain, kIsolatorPlot, kIsolatorPeriods),
      describe("lrb2d", "lead-rubber-bearing isolator, two components", vintarrow::mexFunction,
               vintarrow::signature(), kIsolatorMain, kIsolatorPlot, kIsolatorPeriods),
  };
}

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

}  // namespace

const std::vector<ModuleSpec>& moduleTable() {
  static const std::vector<ModuleSpec> table = buildTable();
  return table;
}

const ModuleSpec* findModule(const std::string& name) {
  const std::string wanted = lower(name);
  for (const ModuleSpec& spec : moduleTable())
    if (spec.command == wanted || lower(spec.name) == wanted) return &spec;
  return nullptr;
}

const ModuleSpec& frictionPendulumWeight() {
  static const ModuleSpec weight =
      describe("fps", "friction-pendulum isolator, weight variant (g = 386.1)",
               tillock::weight::mexFunction, tillock::weight::signature(),
               {"dsp", "totAcc", "muFact", "RFact"}, kIsolatorPlot, kIsolatorPeriods);
  return weight;
}

}  // namespace cli
