// Module calls for the measures, from the program's parameters.
#include "cli/app/module_call.h"

#include "core/gateway/arguments.h"
#include "records/record_reader.h"

namespace cli {

measures::ModuleKind moduleKindOf(const ModuleSpec& spec) {
  using K = measures::ModuleKind;
  if (&spec == &frictionPendulumWeight()) return K::TillockWeight;
  if (spec.name == "Quorvel") return K::Quorvel;
  if (spec.name == "Daskent") return K::Daskent;
  if (spec.name == "Morbane") return K::Morbane;
  if (spec.name == "Tillock") return K::Tillock;
  if (spec.name == "Granwick") return K::Granwick;
  if (spec.name == "Pellory") return K::Pellory;
  return K::Vintarrow;
}

std::vector<double> periodList(const Periods& periods) {
  if (!periods.generated) return periods.list;
  std::vector<double> list(static_cast<std::size_t>(periods.count));
  gateway::fillPeriods(periods.start, periods.end, periods.count, list.data());
  return list;
}

std::vector<std::vector<double>> analysedComponents(const Request& request,
                                                    const Parameters& parameters,
                                                    const std::vector<records::Record>& records) {
  records::UnitOptions units = request.units;
  units.outUnits = parameters.analysis.acceleration;
  std::vector<std::vector<double>> components;
  for (const records::Record& record : records)
    components.push_back(records::samplesInOutputUnits(record, units));
  return components;
}

measures::ModuleCall moduleCallOf(const Parameters& parameters,
                                  const std::vector<std::vector<double>>& components, double dt,
                                  const std::vector<double>& periods) {
  measures::ModuleCall call;
  call.module = moduleKindOf(*parameters.module);
  call.ag1 = components.at(0);
  if (components.size() > 1) call.ag2 = components[1];
  call.dt = dt;
  call.periods = periods;
  call.swept = parameters.swept;
  call.mass = parameters.mass;
  call.weight = parameters.weight;
  call.gravity = parameters.gravity;
  call.method = parameters.method.empty() ? "recform" : parameters.method;
  call.kin = parameters.kin;
  call.iso = parameters.iso;
  call.strength = parameters.strength;
  call.para = parameters.para;
  call.uy = parameters.uy;
  call.alpha = parameters.alpha;
  return call;
}

}  // namespace cli
