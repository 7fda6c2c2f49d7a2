// Unit tables of the output quantities. The SI factors are exact by definition (standard
// gravity, the inch, the foot, the pound-force of 0.45359237 kg under standard gravity).
#include "cli/writers/quantity_units.h"

#include <algorithm>
#include <cctype>

#include "cli/app/error.h"
#include "records/units.h"

namespace cli {

namespace {

using core::Quantity;

constexpr double kPoundForce = 4.4482216152605;  // N

struct UnitDef {
  const char* name;
  double inSI;  // m, m/s or N
  std::vector<const char*> aliases;
};

const std::vector<UnitDef>& lengthUnits() {
  static const std::vector<UnitDef> table = {{"m", 1.0, {"metre", "meter"}},
                                             {"cm", 0.01, {}},
                                             {"mm", 0.001, {}},
                                             {"in", 0.0254, {"inch", "inches"}},
                                             {"ft", 0.3048, {"feet", "foot"}}};
  return table;
}

const std::vector<UnitDef>& forceUnits() {
  static const std::vector<UnitDef> table = {{"N", 1.0, {"newton"}},
                                             {"kN", 1e3, {}},
                                             {"MN", 1e6, {}},
                                             {"lbf", kPoundForce, {"lb", "pound"}},
                                             {"kip", 1e3 * kPoundForce, {"kips"}}};
  return table;
}

std::string lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
  return text;
}

// "m/s2" -> "m/s²"
std::string displayed(std::string name) {
  if (!name.empty() && name.back() == '2') name.replace(name.size() - 1, 1, "²");
  return name;
}

double factorBetween(const std::string& from, double fromSI, const std::string& to, double toSI) {
  return from == to ? 1.0 : fromSI / toSI;
}

const UnitDef* findDef(const std::vector<UnitDef>& table, const std::string& text,
                       const std::string& suffix) {
  const std::string wanted = lower(text);
  for (const UnitDef& def : table) {
    if (wanted == lower(std::string(def.name) + suffix)) return &def;
    for (const char* alias : def.aliases)
      if (wanted == lower(std::string(alias) + suffix)) return &def;
  }
  if (suffix == "/s" && wanted.size() > 4 && wanted.substr(wanted.size() - 4) == "/sec")
    return findDef(table, wanted.substr(0, wanted.size() - 4) + "/s", suffix);
  return nullptr;
}

std::string namesOf(const std::vector<UnitDef>& table, const std::string& suffix) {
  std::string text;
  for (const UnitDef& def : table) text += (text.empty() ? "" : ", ") + std::string(def.name) + suffix;
  return text;
}

const UnitDef& lengthDef(const std::string& name) {
  return *findDef(lengthUnits(), name, "");
}

QuantityUnit accelerationUnit(const std::string& analysis, const std::string& wanted) {
  const records::Unit& from = records::findUnit(analysis);
  const records::Unit* to = nullptr;
  try {
    to = &records::findUnit(wanted);
  } catch (const Error&) {
    throw Error("--acc-units: unknown acceleration unit '" + wanted +
                "' (known: " + knownUnits(Quantity::Acceleration) + ")");
  }
  return {to->name, displayed(to->name),
          factorBetween(from.name, from.metresPerS2, to->name, to->metresPerS2)};
}

// Velocity ("/s") or displacement ("") in a length unit.
QuantityUnit lengthUnit(const std::string& analysisLength, const std::string& wanted,
                        const std::string& suffix, const char* option, const char* quantity) {
  const UnitDef* to = findDef(lengthUnits(), wanted, suffix);
  if (to == nullptr)
    throw Error(std::string(option) + ": unknown " + quantity + " unit '" + wanted +
                "' (known: " + namesOf(lengthUnits(), suffix) + ")");
  const UnitDef& from = lengthDef(analysisLength);
  const std::string name = to->name + suffix;
  return {name, name, factorBetween(from.name, from.inSI, to->name, to->inSI)};
}

QuantityUnit forceUnit(const std::string& analysis, const std::string& wanted) {
  const UnitDef* to = findDef(forceUnits(), wanted, "");
  if (to == nullptr)
    throw Error("--force-units: unknown force unit '" + wanted +
                "' (known: " + namesOf(forceUnits(), "") + ")");
  const UnitDef& from = *findDef(forceUnits(), analysis, "");
  return {to->name, to->name, factorBetween(from.name, from.inSI, to->name, to->inSI)};
}

// The length unit of an acceleration unit the analysis may run in.
std::string lengthOf(const std::string& acceleration) {
  return acceleration.substr(0, acceleration.find('/'));
}

struct SystemUnits {
  std::string acceleration, velocity, displacement, force;
};

SystemUnits systemUnits(const std::string& system) {
  const std::string name = lower(system);
  if (name == "si") return {"m/s2", "m/s", "m", "N"};
  if (name == "us") return {"g", "in/s", "in", "kip"};
  throw Error("--unit-system: unknown system '" + system + "' (known: SI, US)");
}

}  // namespace

AnalysisUnits siAnalysis() { return {"m/s2", "N", "kg"}; }

AnalysisUnits inchPoundAnalysis() { return {"in/s2", "lbf", "lbf*s2/in"}; }

OutputUnits::OutputUnits() : OutputUnits(siAnalysis(), {}) {}

OutputUnits::OutputUnits(const AnalysisUnits& analysis, const UnitRequest& request)
    : analysis_(analysis) {
  const std::string length = lengthOf(analysis.acceleration);
  const SystemUnits chosen = request.system.empty()
                                 ? SystemUnits{analysis.acceleration, length + "/s", length,
                                               analysis.force}
                                 : systemUnits(request.system);
  const auto pick = [](const std::string& given, const std::string& fallback) {
    return given.empty() ? fallback : given;
  };
  acceleration_ = accelerationUnit(analysis.acceleration, pick(request.acceleration,
                                                                chosen.acceleration));
  velocity_ = lengthUnit(length, pick(request.velocity, chosen.velocity), "/s", "--vel-units",
                         "velocity");
  displacement_ = lengthUnit(length, pick(request.displacement, chosen.displacement), "",
                             "--disp-units", "displacement");
  force_ = forceUnit(analysis.force, pick(request.force, chosen.force));
  mass_ = {analysis.mass, analysis.mass, 1.0};
  period_ = {"s", "s", 1.0};
  frequency_ = {"Hz", "Hz", 1.0};
  ratio_ = {"", "", 1.0};
}

const QuantityUnit& OutputUnits::of(Quantity quantity) const {
  switch (quantity) {
    case Quantity::Acceleration: return acceleration_;
    case Quantity::Velocity: return velocity_;
    case Quantity::Displacement: return displacement_;
    case Quantity::Force: return force_;
    case Quantity::Mass: return mass_;
    case Quantity::Period: return period_;
    case Quantity::Frequency: return frequency_;
    case Quantity::Ratio: break;
  }
  return ratio_;
}

const QuantityUnit& OutputUnits::ofField(const std::string& name) const {
  const core::QuantityInfo* info = core::quantityOf(name);
  return info == nullptr ? ratio_ : of(info->quantity);
}

std::vector<double> converted(std::vector<double> values, const QuantityUnit& unit) {
  if (unit.factor != 1.0)
    for (double& value : values) value *= unit.factor;
  return values;
}

std::string knownUnits(Quantity quantity) {
  switch (quantity) {
    case Quantity::Acceleration: return "g, mg, m/s2, cm/s2 or gal, mm/s2, in/s2, ft/s2";
    case Quantity::Velocity: return namesOf(lengthUnits(), "/s");
    case Quantity::Displacement: return namesOf(lengthUnits(), "");
    case Quantity::Force: return namesOf(forceUnits(), "");
    default: return "";
  }
}

}  // namespace cli
