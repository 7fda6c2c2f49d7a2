// Defaults and consistency checks of module options.
#include "cli/app/parameters.h"

#include <array>
#include <cmath>
#include <utility>

#include "cli/app/error.h"
#include "records/numbers.h"
#include "records/units.h"

namespace cli {

namespace {

constexpr double kWeightVariantGravity = 386.1;  // in/s², fixed inside that module
constexpr double kDefaultUyMetres = 0.001;
constexpr const char* kDefaultQdShareOfWeight = "0.05";
constexpr double kDefaultAlpha = 0.1;

bool uses(const ModuleSpec& spec, Slot slot) {
  for (Slot s : spec.slots)
    if (s == slot) return true;
  return false;
}

std::string defaultSwept(const std::string& swept) {
  if (swept == "zeta") return "0.05";
  if (swept == "frn") return "0.05";
  return "";  // Qd: from the weight, see below
}

// Qd as forces (--qd), or as shares of the weight m*g (--qd-ratio, default 5 %).
void resolveStrengths(const ModuleOptions& options, Parameters& p) {
  if (options.swept && options.qdRatio)
    throw Error("give the strengths either as forces (--qd) or as shares of the weight (--qd-ratio)");
  if (options.swept) {
    p.swept = records::parseList(*options.swept, "--qd");
    return;
  }
  p.weightShares = records::parseList(options.qdRatio.value_or(kDefaultQdShareOfWeight),
                                      "--qd-ratio");
  for (double share : p.weightShares) p.swept.push_back(share * p.mass * p.gravity);
}

const std::array<std::pair<const char*, const char*>, 8> kStrengthKeywords = {{
    {"yieldstrength", "yieldStrength"},
    {"fy", "fy"},
    {"yielddisplacement", "yieldDisplacement"},
    {"uy", "uy"},
    {"strengthreductionfactor", "strengthReductionFactor"},
    {"r", "R"},
    {"ductilityfactor", "ductilityFactor"},
    {"mu", "mu"},
}};

std::string canonicalStrength(const std::string& text) {
  std::string lowered;
  for (char c : text) lowered += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (const auto& [key, keyword] : kStrengthKeywords)
    if (lowered == key) return keyword;
  throw Error("--strength: unknown strength definition '" + text +
              "' (known: yieldStrength or fy, yieldDisplacement or uy, "
              "strengthReductionFactor or R, ductilityFactor or mu)");
}

// Morbane's keyword and value from exactly one of --R, --mu, --fy, --uy, --strength/--para.
void resolveStrength(const ModuleOptions& options, Parameters& p) {
  std::vector<std::pair<std::string, double>> chosen;
  if (options.rFactor) chosen.emplace_back("R", *options.rFactor);
  if (options.ductility) chosen.emplace_back("mu", *options.ductility);
  if (options.yieldForce) chosen.emplace_back("fy", *options.yieldForce);
  if (options.yieldDisplacement) chosen.emplace_back("uy", *options.yieldDisplacement);
  if (!options.strength.empty()) {
    if (!options.para) throw Error("--strength needs its value: --para V");
    chosen.emplace_back(canonicalStrength(options.strength), *options.para);
  } else if (options.para) {
    throw Error("--para needs --strength NAME");
  }
  if (chosen.size() != 1)
    throw Error(
        "inelastic needs exactly one strength definition: --R, --mu, --fy, --uy, or "
        "--strength NAME --para V");
  p.strength = chosen.front().first;
  p.para = chosen.front().second;
}

void resolvePeriods(const ModuleOptions& options, const ModuleSpec& spec, Parameters& p) {
  if (options.logPeriods)
    p.periods = parseLogPeriods(*options.logPeriods);
  else
    p.periods = parsePeriods(options.periods.value_or(spec.defaultPeriods));
}

void requireFinite(const std::optional<double>& value, const char* option) {
  if (value && !std::isfinite(*value)) throw Error(std::string(option) + ": not a finite number");
}

// Option values the modules would take as they are: NaN or infinity would give meaningless
// spectra without any message.
void checkNumbers(const Request& request) {
  const ModuleOptions& o = request.parameters;
  for (const auto& [value, name] : {std::pair{&o.mass, "--mass"},
                                    {&o.weight, "--weight"},
                                    {&o.gravity, "--g"},
                                    {&o.uy, "--uy"},
                                    {&o.alpha, "--alpha"},
                                    {&o.kin, "--kin"},
                                    {&o.iso, "--iso"},
                                    {&o.para, "--para"},
                                    {&o.rFactor, "--R"},
                                    {&o.ductility, "--mu"},
                                    {&o.yieldForce, "--fy"},
                                    {&o.yieldDisplacement, "--uy"}})
    requireFinite(*value, name);
  requireFinite(request.units.scale, "--scale");
  const std::optional<double>& dt = request.read.dt;
  if (dt && !(std::isfinite(*dt) && *dt > 0)) throw Error("--dt: must be a positive number");
}

}  // namespace

Parameters resolveParameters(const Request& request) {
  checkNumbers(request);
  const ModuleOptions& o = request.parameters;
  Parameters p;
  const bool weightVariant = o.weight.has_value();
  p.module = weightVariant ? &frictionPendulumWeight() : request.module;
  const ModuleSpec& spec = *p.module;
  p.analysis = weightVariant ? inchPoundAnalysis() : siAnalysis();
  p.units = OutputUnits(p.analysis, request.outputUnits);
  const records::Unit& unit = records::findUnit(p.analysis.acceleration);
  if (weightVariant && o.gravity) throw Error("--g does not apply to fps --weight (g = 386.1)");

  resolvePeriods(o, spec, p);
  p.mass = o.mass.value_or(1.0);
  p.weight = o.weight.value_or(0.0);
  p.gravity = weightVariant ? kWeightVariantGravity : o.gravity.value_or(records::gravityIn(unit));
  p.method = o.method;
  p.kin = o.kin.value_or(0.0);
  p.iso = o.iso.value_or(0.0);
  p.uy = o.uy.value_or(kDefaultUyMetres / unit.metresPerS2);
  p.alpha = o.alpha.value_or(kDefaultAlpha);
  if (uses(spec, Slot::Strength)) resolveStrength(o, p);

  if (spec.swept == "Qd")
    resolveStrengths(o, p);
  else
    p.swept = records::parseList(o.swept.value_or(defaultSwept(spec.swept)), "--" + spec.swept);
  return p;
}

}  // namespace cli
