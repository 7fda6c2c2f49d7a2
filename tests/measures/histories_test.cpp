// Response histories against the modules' own outputs: for every module and oscillator the
// peaks of the returned histories are the module's dsp, vel, acc, totAcc and rFrc bit for bit,
// in the call and in a call of its own, for every strength definition of the inelastic module.
#include "measures/histories.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/numerics/magnitude.h"
#include "core/numerics/peaks.h"
#include "daskent/gateway.h"
#include "granwick/gateway.h"
#include "measures/error.h"
#include "morbane/gateway.h"
#include "pellory/gateway.h"
#include "quorvel/gateway.h"
#include "records/synthetic_record.h"
#include "support/calls.h"
#include "tillock/gateway.h"
#include "tillock/gateway_weight.h"
#include "vintarrow/gateway.h"

namespace {

using measures::ModuleCall;
using measures::ModuleKind;
using measures::ResponseHistory;
using support::Args;
using support::sameBits;

constexpr double kDt = 0.01;
constexpr double kG = 9.81;

std::vector<double> record(std::uint64_t seed, std::int32_t n, double peak = 3.0) {
  return records::syntheticRecord(n, kDt, seed, peak);
}

// The peak of |x|, or of the resultant of two components, over the history.
double peakOf(const ResponseHistory& h, std::vector<double> measures::ComponentHistory::*series) {
  const auto n = static_cast<std::int32_t>(h.samples());
  if (h.components.size() == 1) return core::peakAbs((h.components[0].*series).data(), n);
  return core::peakMagnitude((h.components[0].*series).data(), (h.components[1].*series).data(), n);
}

// Every peak of the history against the module's outputs of oscillator idx.
void expectModulePeaks(const ResponseHistory& h, const host::Outcome& out, std::size_t idx,
                       const std::string& what) {
  ASSERT_TRUE(out.ok) << out.error;
  using C = measures::ComponentHistory;
  EXPECT_TRUE(sameBits(peakOf(h, &C::displacement), out.values("dsp").at(idx))) << what << " dsp";
  EXPECT_TRUE(sameBits(peakOf(h, &C::velocity), out.values("vel").at(idx))) << what << " vel";
  EXPECT_TRUE(sameBits(peakOf(h, &C::acceleration), out.values("acc").at(idx))) << what << " acc";
  EXPECT_TRUE(sameBits(peakOf(h, &C::totalAcceleration), out.values("totAcc").at(idx)))
      << what << " totAcc";
  EXPECT_TRUE(sameBits(peakOf(h, &C::restoringForce), out.values("rFrc").at(idx)))
      << what << " rFrc";
}

// Every oscillator of the call against the module's outputs.
void expectEveryOscillator(const ModuleCall& call, const host::Outcome& out,
                           const std::vector<double>& yieldForces = {}) {
  const std::size_t nT = call.periods.size();
  for (std::size_t j = 0; j < call.swept.size(); ++j)
    for (std::size_t i = 0; i < nT; ++i) {
      const double fy = yieldForces.empty() ? 0.0 : yieldForces[i + j * nT];
      const ResponseHistory h = measures::oscillatorHistory(
          call, static_cast<std::int32_t>(i), static_cast<std::int32_t>(j), fy);
      EXPECT_FALSE(h.ownCall);
      expectModulePeaks(h, out, i + j * nT, "T[" + std::to_string(i) + "], value " +
                                                std::to_string(j));
    }
}

ModuleCall elasticCall(ModuleKind module, const std::string& method) {
  ModuleCall c;
  c.module = module;
  c.ag1 = record(1, 600);
  if (module == ModuleKind::Daskent) c.ag2 = record(2, 570);  // shorter: the common length counts
  c.dt = kDt;
  c.mass = 2.0;
  c.periods = {0.05, 0.3, 1.0, 2.5};
  c.swept = {0.02, 0.05, 0.2};
  c.method = method;
  return c;
}

host::Outcome quorvelOf(const ModuleCall& c) {
  return support::call(quorvel::mexFunction, Args()
                                                 .add(c.ag1)
                                                 .add(c.dt)
                                                 .add(c.mass)
                                                 .add(c.swept)
                                                 .add(c.periods)
                                                 .add(c.method.c_str()));
}

host::Outcome daskentOf(const ModuleCall& c) {
  return support::call(daskent::mexFunction, Args()
                                                 .add(c.ag1)
                                                 .add(c.ag2)
                                                 .add(c.dt)
                                                 .add(c.mass)
                                                 .add(c.swept)
                                                 .add(c.periods)
                                                 .add(c.method.c_str()));
}

// A record on which the module's own ductility search settles for μ = 2.5 (it often does not).
ModuleCall inelasticCall(const std::string& strength, double para) {
  ModuleCall c;
  c.module = ModuleKind::Morbane;
  c.ag1 = record(6, 500, 1.0);
  c.dt = kDt;
  c.mass = 1.5;
  c.periods = {0.2, 0.5, 1.0};
  c.swept = {0.02, 0.05};
  c.kin = 0.02;
  c.iso = 0.01;
  c.strength = strength;
  c.para = para;
  return c;
}

host::Outcome morbaneOf(const ModuleCall& c) {
  return support::call(morbane::mexFunction, Args()
                                                 .add(c.ag1)
                                                 .add(c.dt)
                                                 .add(c.mass)
                                                 .add(c.swept)
                                                 .add(c.periods)
                                                 .add(c.kin)
                                                 .add(c.iso)
                                                 .add(c.strength.c_str())
                                                 .add(c.para));
}

ModuleCall isolatorCall(ModuleKind module) {
  ModuleCall c;
  c.module = module;
  c.dt = kDt;
  c.periods = {1.0, 2.5, 4.0};
  c.mass = 3.0;
  c.gravity = kG;
  c.uy = 0.001;
  c.alpha = 0.1;
  c.ag1 = record(4, 400);
  if (measures::isTwoComponent(module)) c.ag2 = record(5, 380);
  switch (module) {
    case ModuleKind::Tillock:
    case ModuleKind::Granwick: c.swept = {0.0, 0.04, 0.1}; break;
    case ModuleKind::TillockWeight:
      c.ag1 = record(4, 400, 150.0);  // in/s²
      c.weight = 1000.0;
      c.uy = 0.04;
      c.swept = {0.03, 0.08};
      break;
    default: c.swept = {0.5, 1.5}; break;  // Qd, forces of mass × m/s²
  }
  return c;
}

host::Outcome isolatorOf(const ModuleCall& c) {
  switch (c.module) {
    case ModuleKind::Tillock:
      return support::call(tillock::mexFunction, Args()
                                                     .add(c.ag1)
                                                     .add(c.dt)
                                                     .add(c.mass)
                                                     .add(c.gravity)
                                                     .add(c.swept)
                                                     .add(c.periods)
                                                     .add(c.uy));
    case ModuleKind::TillockWeight:
      return support::call(
          tillock::weight::mexFunction,
          Args().add(c.ag1).add(c.dt).add(c.weight).add(c.swept).add(c.periods).add(c.uy));
    case ModuleKind::Granwick:
      return support::call(granwick::mexFunction, Args()
                                                      .add(c.ag1)
                                                      .add(c.ag2)
                                                      .add(c.dt)
                                                      .add(c.mass)
                                                      .add(c.gravity)
                                                      .add(c.swept)
                                                      .add(c.periods)
                                                      .add(c.uy));
    case ModuleKind::Pellory:
      return support::call(
          pellory::mexFunction,
          Args().add(c.ag1).add(c.dt).add(c.mass).add(c.swept).add(c.periods).add(c.alpha));
    default:
      return support::call(vintarrow::mexFunction, Args()
                                                       .add(c.ag1)
                                                       .add(c.ag2)
                                                       .add(c.dt)
                                                       .add(c.mass)
                                                       .add(c.swept)
                                                       .add(c.periods)
                                                       .add(c.alpha));
  }
}

TEST(ResponseHistories, ElasticPeaksAreTheModulesForBothMethods) {
  for (const char* method : {"recform", "newmark"}) {
    const ModuleCall one = elasticCall(ModuleKind::Quorvel, method);
    expectEveryOscillator(one, quorvelOf(one));
    const ModuleCall two = elasticCall(ModuleKind::Daskent, method);
    expectEveryOscillator(two, daskentOf(two));
  }
}

TEST(ResponseHistories, ElasticHistoryRunsPastTheRecordAndSumsTheGroundWhileItMoves) {
  const ModuleCall c = elasticCall(ModuleKind::Daskent, "recform");
  const ResponseHistory h = measures::oscillatorHistory(c, 2, 1);
  ASSERT_EQ(h.components.size(), 2u);
  EXPECT_EQ(h.recordSamples, 570);
  EXPECT_GT(h.samples(), 570u);  // a free-vibration tail
  const measures::ComponentHistory& second = h.components[1];
  EXPECT_TRUE(sameBits(second.totalAcceleration[569], second.acceleration[569] + c.ag2[569]));
  EXPECT_TRUE(sameBits(second.totalAcceleration[570], second.acceleration[570]));
  EXPECT_EQ(h.period, 1.0);
  EXPECT_EQ(h.sweptValue, 0.05);
}

TEST(ResponseHistories, InelasticPeaksAreTheModulesForEveryStrengthDefinition) {
  const std::vector<std::pair<std::string, double>> strengths = {
      {"R", 4.0}, {"fy", 0.8}, {"yieldDisplacement", 0.004}, {"mu", 2.5}};
  for (const auto& [strength, para] : strengths) {
    SCOPED_TRACE(strength);
    const ModuleCall c = inelasticCall(strength, para);
    const host::Outcome out = morbaneOf(c);
    ASSERT_TRUE(out.ok) << out.error;
    expectEveryOscillator(c, out, out.values("yieldFrc"));
    // Without the call's yield forces the module is run for them: the same oscillator.
    const ResponseHistory h = measures::responseHistory(c, 0.5, 0.05);
    EXPECT_TRUE(sameBits(h.yieldForce, out.values("yieldFrc")[4]));
    expectModulePeaks(h, out, 4, "T = 0.5 s by period and value");
  }
}

TEST(ResponseHistories, IsolatorPeaksAreTheModulesForEveryVariant) {
  for (ModuleKind module : {ModuleKind::Tillock, ModuleKind::TillockWeight, ModuleKind::Granwick,
                            ModuleKind::Pellory, ModuleKind::Vintarrow}) {
    SCOPED_TRACE(static_cast<int>(module));
    const ModuleCall c = isolatorCall(module);
    const host::Outcome out = isolatorOf(c);
    expectEveryOscillator(c, out);
    const ResponseHistory h = measures::oscillatorHistory(c, 0, 0);
    EXPECT_EQ(h.samples(), 2u * static_cast<std::size_t>(h.recordSamples));
    EXPECT_TRUE(std::isnan(h.yieldForce));
  }
}

TEST(ResponseHistories, AnOscillatorOutsideTheListsIsTheModulesCallOfThatOneOscillator) {
  ModuleCall elastic = elasticCall(ModuleKind::Quorvel, "recform");
  const ResponseHistory h = measures::responseHistory(elastic, 0.37, 0.05);
  EXPECT_TRUE(h.ownCall);
  expectModulePeaks(h, quorvelOf(measures::singleOscillatorCall(elastic, 0.37, 0.05)), 0,
                    "T = 0.37 s");
  // In the lists it is the call's own oscillator, whose free-vibration tail the call bounds by
  // its last period: here a short one, so T = 2.5 s stops earlier than in a call of its own.
  elastic.periods = {2.5, 0.05};
  const ResponseHistory inCall = measures::responseHistory(elastic, 2.5, 0.02);
  EXPECT_FALSE(inCall.ownCall);
  expectModulePeaks(inCall, quorvelOf(elastic), 0, "T = 2.5 s in the call");
  const ModuleCall single = measures::singleOscillatorCall(elastic, 2.5, 0.02);
  const ResponseHistory alone = measures::responseHistory(single, 2.5, 0.02);
  EXPECT_LT(inCall.samples(), alone.samples());
  expectModulePeaks(alone, quorvelOf(single), 0, "T = 2.5 s alone");

  // The ductility search of a call of its own settles on that oscillator's own yield force.
  const ModuleCall inelastic = inelasticCall("mu", 2.5);
  const ResponseHistory own = measures::responseHistory(inelastic, 0.7, 0.03);
  EXPECT_TRUE(own.ownCall);
  const host::Outcome ductile = morbaneOf(measures::singleOscillatorCall(inelastic, 0.7, 0.03));
  ASSERT_TRUE(ductile.ok) << ductile.error;
  EXPECT_TRUE(sameBits(own.yieldForce, ductile.values("yieldFrc")[0]));
  expectModulePeaks(own, ductile, 0, "mu, T = 0.7 s");

  const ModuleCall isolator = isolatorCall(ModuleKind::Vintarrow);
  const ResponseHistory bearing = measures::responseHistory(isolator, 3.3, 0.9);
  expectModulePeaks(bearing, isolatorOf(measures::singleOscillatorCall(isolator, 3.3, 0.9)), 0,
                    "Qd = 0.9");
}

TEST(ResponseHistories, RefusesWhatNoModuleCallHas) {
  const ModuleCall c = elasticCall(ModuleKind::Quorvel, "recform");
  EXPECT_THROW(measures::oscillatorHistory(c, 4, 0), measures::Error);
  EXPECT_THROW(measures::oscillatorHistory(c, 0, -1), measures::Error);
  ModuleCall unknown = c;
  unknown.method = "euler";
  EXPECT_THROW(measures::oscillatorHistory(unknown, 0, 0), measures::Error);
  ModuleCall noStep = c;
  noStep.dt = 0.0;
  EXPECT_THROW(measures::oscillatorHistory(noStep, 0, 0), measures::Error);
}

TEST(ResponseHistories, AFailedDuctilitySearchIsReportedWithTheModulesWarning) {
  // On this record the module's search for μ = 2.5 at T = 0.7 s does not settle in 25 trials.
  ModuleCall c = inelasticCall("mu", 2.5);
  c.ag1 = record(3, 500, 3.0);
  try {
    measures::responseHistory(c, 0.7, 0.03);
    FAIL() << "expected an error";
  } catch (const measures::Error& e) {
    EXPECT_NE(std::string(e.what()).find("failed to converge"), std::string::npos) << e.what();
  }
}

}  // namespace
