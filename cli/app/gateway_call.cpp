// Calling-form assembly: one host input per slot of the module table.
#include "cli/app/gateway_call.h"

#include "cli/app/error.h"

namespace cli {

namespace {

void addPeriods(const Periods& periods, std::vector<host::Value>& inputs) {
  if (!periods.generated) {
    inputs.push_back(host::column(periods.list));
    return;
  }
  inputs.push_back(host::scalar(periods.start));
  inputs.push_back(host::scalar(periods.end));
  inputs.push_back(host::scalar(periods.count));
}

void addSlot(Slot slot, const Parameters& p, const std::vector<std::vector<double>>& components,
             double dt, std::vector<host::Value>& inputs) {
  switch (slot) {
    case Slot::Record: inputs.push_back(host::column(components.at(0))); break;
    case Slot::Record2: inputs.push_back(host::column(components.at(1))); break;
    case Slot::Dt: inputs.push_back(host::scalar(dt)); break;
    case Slot::Mass: inputs.push_back(host::scalar(p.mass)); break;
    case Slot::Weight: inputs.push_back(host::scalar(p.weight)); break;
    case Slot::Gravity: inputs.push_back(host::scalar(p.gravity)); break;
    case Slot::Swept: inputs.push_back(host::column(p.swept)); break;
    case Slot::Periods: addPeriods(p.periods, inputs); break;
    case Slot::Kin: inputs.push_back(host::scalar(p.kin)); break;
    case Slot::Iso: inputs.push_back(host::scalar(p.iso)); break;
    case Slot::Strength: inputs.push_back(host::text(p.strength)); break;
    case Slot::Para: inputs.push_back(host::scalar(p.para)); break;
    case Slot::Uy: inputs.push_back(host::scalar(p.uy)); break;
    case Slot::Alpha: inputs.push_back(host::scalar(p.alpha)); break;
    case Slot::Method:
      if (!p.method.empty()) inputs.push_back(host::text(p.method));
      break;
  }
}

}  // namespace

std::vector<host::Value> gatewayInputs(const Parameters& parameters,
                                       const std::vector<std::vector<double>>& components,
                                       double dt) {
  std::vector<host::Value> inputs;
  for (Slot slot : parameters.module->slots) addSlot(slot, parameters, components, dt, inputs);
  return inputs;
}

host::Outcome callGateway(const Parameters& parameters,
                          const std::vector<std::vector<double>>& components, double dt) {
  const ModuleSpec& spec = *parameters.module;
  const std::vector<host::Value> inputs = gatewayInputs(parameters, components, dt);
  std::vector<const mxArray*> pointers;
  for (const host::Value& input : inputs) pointers.push_back(input.get());
  return host::call(spec.gateway, 1, pointers);
}

}  // namespace cli
