// Module table. A module whose host library is not built has no gateway and reports so when run.
#include "cli/app/module_table.h"

#include <algorithm>
#include <cctype>

#ifdef SPECTRA_HAVE_QUORVEL
#include "quorvel/gateway.h"
#endif
#ifdef SPECTRA_HAVE_DASKENT
#include "daskent/gateway.h"
#endif
#ifdef SPECTRA_HAVE_MORBANE
#include "morbane/gateway.h"
#endif
#ifdef SPECTRA_HAVE_TILLOCK
#include "tillock/gateway.h"
#endif
#ifdef SPECTRA_HAVE_TILLOCK_WEIGHT
#include "tillock/gateway_weight.h"
#endif
#ifdef SPECTRA_HAVE_GRANWICK
#include "granwick/gateway.h"
#endif
#ifdef SPECTRA_HAVE_PELLORY
#include "pellory/gateway.h"
#endif
#ifdef SPECTRA_HAVE_VINTARROW
#include "vintarrow/gateway.h"
#endif

namespace cli {

namespace {

using S = Slot;
using Fields = std::vector<std::string>;

const Fields kElasticFields = {"pga",    "mass",   "zeta",   "T",      "f",    "dsp",  "vel", "acc",
                               "totAcc", "psdVel", "psdAcc", "resDsp", "iFrc", "dFrc", "rFrc"};

const Fields kYieldFields = {"yieldDsp", "psdYieldVel", "psdYieldAcc", "yieldFrc"};

Fields inelasticFields() {
  Fields fields = kElasticFields;
  fields.insert(fields.end(), kYieldFields.begin(), kYieldFields.end());
  fields.insert(fields.end(), {"RFact", "muFact", "gammaFact"});
  return fields;
}

// The elastic fields with `echo` ("mass" or "W") and `swept` ("frn" or "Qd") as the echoed
// inputs, the yield fields, then the factors: muFact first and the equivalent-linear fields in
// the mass variants, RFact first and no equivalent-linear fields in Tillock's weight variant.
Fields isolatorFields(const std::string& echo, const std::string& swept, bool equivalentLinear) {
  Fields fields = kElasticFields;
  fields[1] = echo;
  fields[2] = swept;
  fields.insert(fields.end(), kYieldFields.begin(), kYieldFields.end());
  if (equivalentLinear)
    fields.insert(fields.end(),
                  {"muFact", "RFact", "gammaFact", "effT", "effZeta", "effRFact", "effGammaFact"});
  else
    fields.insert(fields.end(), {"RFact", "muFact", "gammaFact"});
  return fields;
}

const Fields kElasticMain = {"psdAcc", "psdVel", "dsp"};
const Fields kInelasticMain = {"psdAcc", "dsp", "muFact", "RFact"};
const Fields kIsolatorMain = {"dsp", "totAcc", "effT", "effZeta"};
const std::string kShortPeriods = "0.05:5:100";
const std::string kIsolatorPeriods = "0.5:6:56";

// The gateways of the modules that are part of this build.
#ifdef SPECTRA_HAVE_QUORVEL
const host::Gateway kQuorvel = quorvel::mexFunction;
#else
const host::Gateway kQuorvel = nullptr;
#endif
#ifdef SPECTRA_HAVE_DASKENT
const host::Gateway kDaskent = daskent::mexFunction;
#else
const host::Gateway kDaskent = nullptr;
#endif
#ifdef SPECTRA_HAVE_MORBANE
const host::Gateway kMorbane = morbane::mexFunction;
#else
const host::Gateway kMorbane = nullptr;
#endif
#ifdef SPECTRA_HAVE_TILLOCK
const host::Gateway kTillock = tillock::mexFunction;
#else
const host::Gateway kTillock = nullptr;
#endif
#ifdef SPECTRA_HAVE_TILLOCK_WEIGHT
const host::Gateway kTillockWeight = tillock::weight::mexFunction;
#else
const host::Gateway kTillockWeight = nullptr;
#endif
#ifdef SPECTRA_HAVE_GRANWICK
const host::Gateway kGranwick = granwick::mexFunction;
#else
const host::Gateway kGranwick = nullptr;
#endif
#ifdef SPECTRA_HAVE_PELLORY
const host::Gateway kPellory = pellory::mexFunction;
#else
const host::Gateway kPellory = nullptr;
#endif
#ifdef SPECTRA_HAVE_VINTARROW
const host::Gateway kVintarrow = vintarrow::mexFunction;
#else
const host::Gateway kVintarrow = nullptr;
#endif

// clang-format off
std::vector<ModuleSpec> buildTable() {
  return {
      {"elastic", "Quorvel", "linear elastic oscillator", kQuorvel, 1, "zeta",
       {S::Record, S::Dt, S::Mass, S::Swept, S::Periods, S::Method},
       kElasticFields, kElasticMain, kShortPeriods},
      {"elastic2d", "Daskent", "linear elastic oscillator, two components", kDaskent, 2, "zeta",
       {S::Record, S::Record2, S::Dt, S::Mass, S::Swept, S::Periods, S::Method},
       kElasticFields, kElasticMain, kShortPeriods},
      {"inelastic", "Morbane", "inelastic oscillator with hardening", kMorbane, 1, "zeta",
       {S::Record, S::Dt, S::Mass, S::Swept, S::Periods, S::Kin, S::Iso, S::Strength, S::Para},
       inelasticFields(), kInelasticMain, kShortPeriods},
      {"fps", "Tillock", "friction-pendulum isolator", kTillock, 1, "frn",
       {S::Record, S::Dt, S::Mass, S::Gravity, S::Swept, S::Periods, S::Uy},
       isolatorFields("mass", "frn", true), kIsolatorMain, kIsolatorPeriods},
      {"fps2d", "Granwick", "friction-pendulum isolator, two components", kGranwick, 2, "frn",
       {S::Record, S::Record2, S::Dt, S::Mass, S::Gravity, S::Swept, S::Periods, S::Uy},
       isolatorFields("mass", "frn", true), kIsolatorMain, kIsolatorPeriods},
      {"lrb", "Pellory", "lead-rubber-bearing isolator", kPellory, 1, "Qd",
       {S::Record, S::Dt, S::Mass, S::Swept, S::Periods, S::Alpha},
       isolatorFields("mass", "Qd", true), kIsolatorMain, kIsolatorPeriods},
      {"lrb2d", "Vintarrow", "lead-rubber-bearing isolator, two components", kVintarrow, 2, "Qd",
       {S::Record, S::Record2, S::Dt, S::Mass, S::Swept, S::Periods, S::Alpha},
       isolatorFields("mass", "Qd", true), kIsolatorMain, kIsolatorPeriods},
  };
}

ModuleSpec buildWeightVariant() {
  return {"fps", "Tillock", "friction-pendulum isolator, weight variant (g = 386.1)",
          kTillockWeight, 1, "frn",
          {S::Record, S::Dt, S::Weight, S::Swept, S::Periods, S::Uy},
          isolatorFields("W", "frn", false), {"dsp", "totAcc", "muFact", "RFact"},
          kIsolatorPeriods};
}
// clang-format on

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
  static const ModuleSpec weight = buildWeightVariant();
  return weight;
}

}  // namespace cli
