// The output fields the modules share, by name: a module's field table lists them in its order.
#pragma once

#include <array>
#include <cstddef>
#include <cstring>

#include "core/gateway/form.h"

namespace gateway::fields {

using Out = core::SpectraOutputs;

inline constexpr Field pga = scalarField("pga", &Out::pga);
inline constexpr Field periods = periodField();
inline constexpr Field f = perPeriodField("f", &Out::f);
inline constexpr Field dsp = matrixField("dsp", &Out::dsp);
inline constexpr Field vel = matrixField("vel", &Out::vel);
inline constexpr Field acc = matrixField("acc", &Out::acc);
inline constexpr Field totAcc = matrixField("totAcc", &Out::totAcc);
inline constexpr Field psdVel = matrixField("psdVel", &Out::psdVel);
inline constexpr Field psdAcc = matrixField("psdAcc", &Out::psdAcc);
inline constexpr Field resDsp = matrixField("resDsp", &Out::resDsp);
inline constexpr Field iFrc = matrixField("iFrc", &Out::iFrc);
inline constexpr Field dFrc = matrixField("dFrc", &Out::dFrc);
inline constexpr Field rFrc = matrixField("rFrc", &Out::rFrc);
inline constexpr Field yieldDsp = matrixField("yieldDsp", &Out::yieldDsp);
inline constexpr Field psdYieldVel = matrixField("psdYieldVel", &Out::psdYieldVel);
inline constexpr Field psdYieldAcc = matrixField("psdYieldAcc", &Out::psdYieldAcc);
inline constexpr Field yieldFrc = matrixField("yieldFrc", &Out::yieldFrc);
inline constexpr Field RFact = matrixField("RFact", &Out::RFact);
inline constexpr Field muFact = matrixField("muFact", &Out::muFact);
inline constexpr Field gammaFact = matrixField("gammaFact", &Out::gammaFact);
inline constexpr Field effT = matrixField("effT", &Out::effT);
inline constexpr Field effZeta = matrixField("effZeta", &Out::effZeta);
inline constexpr Field effRFact = matrixField("effRFact", &Out::effRFact);
inline constexpr Field effGammaFact = matrixField("effGammaFact", &Out::effGammaFact);

// The field groups of the modules, in structure order.
inline constexpr std::array<Field, 10> kElastic = {dsp,    vel,    acc,  totAcc, psdVel,
                                                   psdAcc, resDsp, iFrc, dFrc,   rFrc};
inline constexpr std::array<Field, 4> kYield = {yieldDsp, psdYieldVel, psdYieldAcc, yieldFrc};
// The factors of the inelastic oscillator (and of Tillock's weight variant).
inline constexpr std::array<Field, 3> kInelasticFactors = {RFact, muFact, gammaFact};
// The factors and equivalent-linear quantities of the isolators.
inline constexpr std::array<Field, 7> kIsolatorFactors = {muFact,  RFact,    gammaFact,   effT,
                                                          effZeta, effRFact, effGammaFact};

}  // namespace gateway::fields

namespace gateway {

// The first five fields of every module: "pga", the echo of the mass (or weight) input, the echo
// of the swept input, "T" and "f".
constexpr std::array<Field, 5> header(const char* massField, const char* massInput,
                                      const char* swept) {
  return {fields::pga, echoField(massField, massInput), echoField(swept, swept), fields::periods,
          fields::f};
}

// The shared field of that name (pga, f, dsp ... effGammaFact); nullptr for any other name.
inline const Field* sharedField(const char* name) {
  static constexpr const Field* kAll[] = {
      &fields::pga,      &fields::f,           &fields::dsp,         &fields::vel,
      &fields::acc,      &fields::totAcc,      &fields::psdVel,      &fields::psdAcc,
      &fields::resDsp,   &fields::iFrc,        &fields::dFrc,        &fields::rFrc,
      &fields::yieldDsp, &fields::psdYieldVel, &fields::psdYieldAcc, &fields::yieldFrc,
      &fields::RFact,    &fields::muFact,      &fields::gammaFact,   &fields::effT,
      &fields::effZeta,  &fields::effRFact,    &fields::effGammaFact};
  for (const Field* field : kAll)
    if (std::strcmp(field->name, name) == 0) return field;
  return nullptr;
}

// The structures of the module families: elastic (15 fields), inelastic (22) and isolator (26).
constexpr auto elasticFields(const char* swept) {
  return join(header("mass", "m", swept), fields::kElastic);
}
constexpr auto inelasticFields(const char* massField, const char* massInput, const char* swept) {
  return join(header(massField, massInput, swept), fields::kElastic, fields::kYield,
              fields::kInelasticFactors);
}
constexpr auto isolatorFields(const char* swept) {
  return join(header("mass", "m", swept), fields::kElastic, fields::kYield,
              fields::kIsolatorFactors);
}

}  // namespace gateway
