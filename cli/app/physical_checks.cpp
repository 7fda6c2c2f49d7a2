// The program's checks of physical sense. The limits of the warnings are those of engineering
// practice (friction coefficients of sliding bearings 0.02-0.15, Qd of lead-rubber bearings
// 3-10 % of the weight, pre-sliding displacements below a millimetre), set wide.
#include "cli/app/physical_checks.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <cmath>

#include "cli/app/error.h"
#include "cli/writers/labels.h"
#include "records/numbers.h"
#include "records/units.h"

namespace cli {

namespace {

using Warnings = std::vector<std::string>;

constexpr double kUnusualFriction = 0.3;
constexpr double kUnusualWeightShareLow = 0.01;
constexpr double kUnusualWeightShareHigh = 0.3;
constexpr double kLargePreSlidingMetres = 0.01;
constexpr double kGravityTolerance = 0.05;  // relative
constexpr double kPeakWarningInG = 4.0;

std::string num(double value) { return records::roundTrip(value); }

bool uses(const ModuleSpec& spec, Slot slot) {
  return std::find(spec.slots.begin(), spec.slots.end(), slot) != spec.slots.end();
}

// "; did you mean 0.05?" for a ratio typed as a percentage.
std::string percentHint(double value) {
  return value >= 1 && value < 100 ? "; did you mean " + num(value / 100) + "?" : "";
}

// The clause and the next sentence: after a question ("did you mean 0.05?") a new sentence, with
// a capital; otherwise after a semicolon.
std::string then(const std::string& clause, std::string sentence) {
  if (clause.back() != '?') return clause + "; " + sentence;
  sentence[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(sentence[0])));
  return clause + " " + sentence;
}

std::string lengthUnitOf(const Parameters& p) {
  return p.analysis.acceleration.substr(0, p.analysis.acceleration.find('/'));
}

void requirePositive(double value, const std::string& option, const std::string& what) {
  if (!(value > 0)) throw Error(option + " " + num(value) + ": " + what + " must be positive");
}

void checkDamping(const Parameters& p, Warnings& warnings) {
  const bool hasMethod = uses(*p.module, Slot::Method);
  for (double zeta : p.swept) {
    if (zeta < 0)
      throw Error("--zeta " + num(zeta) +
                  ": a damping ratio cannot be negative (5 % of critical is 0.05)");
    if (zeta < 1) continue;
    const std::string text = fmt::format("--zeta {}: ζ = {} % of critical damping{}", num(zeta),
                                         shortNumber(zeta * 100), percentHint(zeta));
    if (hasMethod && p.method == "newmark")
      warnings.push_back(text + " (an overdamped oscillator)");
    else if (hasMethod)
      throw Error(then(text, "the exact recurrence (--method recform, the default) needs ζ below "
                             "1; --method newmark takes ζ of 1 or more"));
    else
      throw Error(then(text, "the inelastic oscillator needs ζ below 1"));
  }
}

void checkFriction(const Parameters& p, Warnings& warnings) {
  for (double mu : p.swept) {
    if (mu < 0) throw Error("--frn " + num(mu) + ": a friction coefficient cannot be negative");
    if (mu >= 1)
      throw Error("--frn " + num(mu) + ": a friction coefficient of 1 or more would hold the " +
                  "bearing fast (usual values 0.02 to 0.15)" + percentHint(mu));
    if (mu > kUnusualFriction)
      warnings.push_back("--frn " + num(mu) +
                         ": a friction coefficient above 0.3 is unusual for a sliding bearing "
                         "(usual values 0.02 to 0.15)");
  }
}

void checkStrengths(const Parameters& p, Warnings& warnings) {
  const double weight = p.mass * p.gravity;
  if (!p.weightShares.empty()) {
    for (double share : p.weightShares) {
      if (share < 0) throw Error("--qd-ratio " + num(share) + ": Qd/W cannot be negative");
      if (share >= 1)
        throw Error("--qd-ratio " + num(share) + ": Qd/W of 1 or more would never yield" +
                    percentHint(share));
      if (share > kUnusualWeightShareHigh)
        warnings.push_back("--qd-ratio " + num(share) +
                           ": Qd/W above 0.3 is unusual (usual values 0.03 to 0.10)");
    }
    return;
  }
  std::string unusual, shares;
  for (double qd : p.swept) {
    if (qd < 0) throw Error("--qd " + num(qd) + ": a characteristic strength cannot be negative");
    const double share = qd / weight;
    if (qd > 0 && (share < kUnusualWeightShareLow || share > kUnusualWeightShareHigh)) {
      unusual += (unusual.empty() ? "" : ",") + num(qd);
      shares += (shares.empty() ? "" : ", ") + shortNumber(share * 100, 3) + " %";
    }
  }
  if (!unusual.empty())
    warnings.push_back(fmt::format(
        "--qd {0}: Qd of {2} of the weight m·g = {3} {1} (usual: 3 to 10 %); --qd is a force in "
        "{1}, for shares of the weight use --qd-ratio {0}",
        unusual, p.analysis.force, shares, shortNumber(weight)));
}

void checkHardening(double ratio, const std::string& option, Warnings& warnings) {
  if (ratio >= 1)
    throw Error(option + " " + num(ratio) +
                ": a hardening ratio of 1 or more makes the post-yield stiffness at least the "
                "elastic one; give a ratio below 1 (e.g. 0.02)");
  if (ratio < 0)
    warnings.push_back(option + " " + num(ratio) +
                       ": negative hardening (softening): the oscillator may collapse and its "
                       "ductility grow without bound");
}

void checkStrengthDefinition(const Parameters& p, Warnings& warnings) {
  const std::string& s = p.strength;
  const std::string value = num(p.para);
  if (s == "R" || s == "strengthReductionFactor") {
    if (!(p.para > 0))
      throw Error("R = " + value +
                  ": the strength reduction factor must be positive (R = 1 is the elastic "
                  "strength)");
    if (p.para < 1)
      warnings.push_back("R = " + value +
                         ": below 1 the yield strength exceeds the elastic demand and the "
                         "oscillator stays elastic");
  } else if (s == "mu" || s == "ductilityFactor") {
    if (!(p.para >= 1)) throw Error("μ = " + value + ": a target ductility must be at least 1");
  } else if (s == "fy" || s == "yieldStrength") {
    requirePositive(p.para, "fy =", "the yield strength");
  } else {
    requirePositive(p.para, "uy =", "the yield displacement");
  }
}

void checkScalars(const Parameters& p, Warnings& warnings) {
  const ModuleSpec& spec = *p.module;
  if (uses(spec, Slot::Mass)) requirePositive(p.mass, "--mass", "the mass");
  if (uses(spec, Slot::Weight)) requirePositive(p.weight, "--weight", "the weight");
  if (uses(spec, Slot::Gravity)) {
    requirePositive(p.gravity, "--g", "gravity");
    const double standard = records::gravityIn(records::findUnit(p.analysis.acceleration));
    if (std::fabs(p.gravity / standard - 1) > kGravityTolerance)
      warnings.push_back(fmt::format("--g {}: far from standard gravity {} {} (it is in {})",
                                     num(p.gravity), shortNumber(standard), p.analysis.acceleration,
                                     p.analysis.acceleration));
  }
  if (uses(spec, Slot::Uy)) {
    requirePositive(p.uy, "--uy", "the pre-sliding displacement");
    const double metres =
        p.uy * records::findUnit(p.analysis.acceleration).metresPerS2;  // same length factor
    if (metres > kLargePreSlidingMetres)
      warnings.push_back(fmt::format(
          "--uy {0}: a pre-sliding displacement of {0} {1} is large (usually below 1 mm); --uy "
          "is in {2}",
          num(p.uy), lengthUnitOf(p), lengthUnitOf(p) == "in" ? "inches" : "metres"));
  }
  if (uses(spec, Slot::Alpha) && !(p.alpha > 0 && p.alpha <= 1))
    throw Error("--alpha " + num(p.alpha) +
                ": the post-yield to elastic stiffness ratio α must lie in (0, 1] (usual values "
                "0.05 to 0.15)");
  if (uses(spec, Slot::Kin)) checkHardening(p.kin, "--kin", warnings);
  if (uses(spec, Slot::Iso)) checkHardening(p.iso, "--iso", warnings);
  if (uses(spec, Slot::Strength)) checkStrengthDefinition(p, warnings);
}

}  // namespace

std::vector<std::string> checkParameters(const Parameters& parameters, double scale) {
  if (scale == 0) throw Error("--scale 0 would make the record all zeros");
  Warnings warnings;
  const std::string& swept = parameters.module->swept;
  if (swept == "zeta") checkDamping(parameters, warnings);
  if (swept == "frn") checkFriction(parameters, warnings);
  if (swept == "Qd") checkStrengths(parameters, warnings);
  checkScalars(parameters, warnings);
  return warnings;
}

std::string recordPeakWarning(const records::Record& record, const std::vector<double>& samples,
                              const std::string& analysisUnit,
                              const records::UnitOptions& options) {
  double peak = 0;
  for (double sample : samples) peak = std::max(peak, std::fabs(sample));
  const double peakInG = peak / records::gravityIn(records::findUnit(analysisUnit));
  if (!(peakInG > kPeakWarningInG)) return "";
  std::string readIn;
  if (!record.statedUnit.empty())
    readIn = records::findUnit(record.statedUnit).name + " as the file states";
  else if (!options.units.empty())
    readIn = records::findUnit(options.units).name + " as --units says";
  else
    readIn = "g (the file states no unit, so g is assumed)";
  const std::string scaled = options.scale != 1 ? ", times --scale " + num(options.scale) : "";
  const std::string advice = record.statedUnit.empty()
                                 ? "if the file is in another unit give it with --units (e.g. "
                                   "--units cm/s2)"
                                 : "check the record and --scale";
  return fmt::format("warning: {}: peak ground acceleration {} g with the samples read in {}{}; {}",
                     record.path, shortNumber(peakInG, 3), readIn, scaled, advice);
}

}  // namespace cli
