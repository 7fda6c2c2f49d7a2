// Response histories: each module's inputs from the call, its own one-oscillator analysis into
// full-length histories, the total acceleration, and Morbane's yield force from its driver.
#include "measures/histories.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>

#include "core/runtime/console.h"
#include "core/spectra/histories.h"
#include "core/spectra/output_store.h"
#include "daskent/oscillator.h"
#include "granwick/oscillator.h"
#include "measures/error.h"
#include "morbane/oscillator.h"
#include "pellory/oscillator.h"
#include "quorvel/oscillator.h"
#include "tillock/oscillator.h"
#include "vintarrow/oscillator.h"

namespace measures {

namespace {

core::Series seriesOf(const std::vector<double>& values) {
  return {values.data(), static_cast<std::int32_t>(values.size())};
}

core::Periods periodsOf(const std::vector<double>& periods) {
  core::Periods p;
  p.data = periods.data();
  p.count = static_cast<std::int32_t>(periods.size());
  return p;
}

// Storage for the histories of one or two components, and the views the modules write into.
class HistoryStore {
 public:
  HistoryStore(int components, std::int64_t samples)
      : components_(static_cast<std::size_t>(components)) {
    if (samples < 1 || samples > std::numeric_limits<std::int32_t>::max())
      throw Error("the analysis would need " + std::to_string(samples) +
                  " samples, more than one history can hold");
    for (ComponentHistory& c : components_) {
      for (std::vector<double>* v :
           {&c.displacement, &c.velocity, &c.acceleration, &c.restoringForce})
        v->assign(static_cast<std::size_t>(samples), 0.0);
    }
  }
  core::Histories view(std::size_t c) {
    ComponentHistory& h = components_.at(c);
    return {h.displacement.data(), h.velocity.data(), h.acceleration.data(),
            h.restoringForce.data(), static_cast<std::int32_t>(h.displacement.size())};
  }
  core::Histories2 view2() { return {view(0), view(1)}; }
  std::vector<ComponentHistory> take() { return std::move(components_); }

 private:
  std::vector<ComponentHistory> components_;
};

// a + ag while the ground moves, a after the record, as the modules' peaks take it.
void fillTotalAcceleration(ComponentHistory& c, const std::vector<double>& ag, std::int32_t nAg) {
  const std::size_t n = c.acceleration.size();
  c.totalAcceleration.resize(n);
  for (std::size_t s = 0; s < n; ++s)
    c.totalAcceleration[s] =
        static_cast<std::int32_t>(s) < nAg ? c.acceleration[s] + ag[s] : c.acceleration[s];
}

std::string oneLine(std::string text) {
  while (!text.empty() && text.back() == '\n') text.pop_back();
  for (char& c : text)
    if (c == '\n') c = ' ';
  return text;
}

std::string numberText(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// A failed analysis: the module leaves the oscillator at zero and prints why.
[[noreturn]] void failedAnalysis(const ModuleCall& call, std::int32_t i, std::int32_t j,
                                 const std::string& warning) {
  throw Error("T = " + numberText(call.periods[static_cast<std::size_t>(i)]) + " s, swept value " +
              numberText(call.swept[static_cast<std::size_t>(j)]) +
              ": the module's analysis does not converge, so it leaves this oscillator's "
              "outputs at zero (" +
              oneLine(warning) + ")");
}

void checkCall(const ModuleCall& call, std::int32_t i, std::int32_t j) {
  if (call.ag1.empty() || (isTwoComponent(call.module) && call.ag2.empty()))
    throw Error("the record has no samples");
  if (!(std::isfinite(call.dt) && call.dt > 0.0))
    throw Error("time step dt = " + numberText(call.dt) + " s: must be a positive number");
  if (i < 0 || static_cast<std::size_t>(i) >= call.periods.size())
    throw Error("period index " + std::to_string(i) + " is not one of the call's " +
                std::to_string(call.periods.size()) + " periods");
  if (j < 0 || static_cast<std::size_t>(j) >= call.swept.size())
    throw Error("swept value index " + std::to_string(j) + " is not one of the call's " +
                std::to_string(call.swept.size()) + " values");
  const bool linear = call.module == ModuleKind::Quorvel || call.module == ModuleKind::Daskent;
  if (linear && call.method != "recform" && call.method != "newmark")
    throw Error("method '" + call.method + "': must be recform or newmark");
}

// The nonlinear analysis of one oscillator into histories of `components` × `length` samples; a
// failed one is an Error with the module's warning.
template <class Analyse>
std::vector<ComponentHistory> analysedHistory(const ModuleCall& c, std::int32_t i, std::int32_t j,
                                              int components, std::int64_t length,
                                              Analyse analyse) {
  HistoryStore store(components, length);
  std::string warning;
  core::CollectWarnings collect(warning);
  if (analyse(store) != 0) failedAnalysis(c, i, j, warning);
  return store.take();
}

// The analyses of the seven modules, each through its own oscillator.h.
std::vector<ComponentHistory> quorvelHistory(const ModuleCall& c, std::int32_t i, std::int32_t j) {
  quorvel::Inputs in;
  in.ag = seriesOf(c.ag1);
  in.dt = c.dt;
  in.m = c.mass;
  in.zeta = seriesOf(c.swept);
  in.periods = periodsOf(c.periods);
  in.method = c.method.c_str();
  const core::ElasticOscillator o = quorvel::oscillatorOf(in, i, j);
  HistoryStore store(1, o.nTH);
  quorvel::analyseOscillator(in, o, store.view(0));
  return store.take();
}

std::vector<ComponentHistory> daskentHistory(const ModuleCall& c, std::int32_t i, std::int32_t j) {
  daskent::Inputs in;
  in.ag1 = seriesOf(c.ag1);
  in.ag2 = seriesOf(c.ag2);
  in.dt = c.dt;
  in.m = c.mass;
  in.zeta = seriesOf(c.swept);
  in.periods = periodsOf(c.periods);
  in.method = c.method.c_str();
  const core::ElasticOscillator o = daskent::oscillatorOf(in, i, j);
  HistoryStore store(2, o.nTH);
  daskent::analyseOscillator(in, o, store.view2());
  return store.take();
}

std::vector<ComponentHistory> morbaneHistory(const ModuleCall& c, std::int32_t i, std::int32_t j,
                                             double fy) {
  morbane::Inputs in;
  in.ag = seriesOf(c.ag1);
  in.dt = c.dt;
  in.m = c.mass;
  in.zeta = seriesOf(c.swept);
  in.periods = periodsOf(c.periods);
  in.kin = c.kin;
  in.iso = c.iso;
  in.method = c.strength.c_str();
  in.para = c.para;
  const core::ElasticOscillator o = morbane::oscillatorOf(in, i, j);
  return analysedHistory(c, i, j, 1, o.nTH, [&](HistoryStore& store) {
    return morbane::analyseOscillator(in, o, fy, store.view(0));
  });
}

std::vector<ComponentHistory> tillockHistory(const ModuleCall& c, std::int32_t i, std::int32_t j) {
  tillock::Inputs in;
  in.ag = seriesOf(c.ag1);
  in.dt = c.dt;
  in.m = c.mass;
  in.g = c.gravity;
  in.frn = seriesOf(c.swept);
  in.periods = periodsOf(c.periods);
  in.uy = c.uy;
  return analysedHistory(c, i, j, 1, tillock::historyLength(in), [&](HistoryStore& store) {
    return tillock::analyseOscillator(in, i, j, store.view(0));
  });
}

std::vector<ComponentHistory> tillockWeightHistory(const ModuleCall& c, std::int32_t i,
                                                   std::int32_t j) {
  tillock::weight::Inputs in;
  in.ag = seriesOf(c.ag1);
  in.dt = c.dt;
  in.W = c.weight;
  in.frn = seriesOf(c.swept);
  in.periods = periodsOf(c.periods);
  in.uy = c.uy;
  return analysedHistory(c, i, j, 1, tillock::weight::historyLength(in), [&](HistoryStore& store) {
    return tillock::weight::analyseOscillator(in, i, j, store.view(0));
  });
}

std::vector<ComponentHistory> granwickHistory(const ModuleCall& c, std::int32_t i, std::int32_t j) {
  granwick::Inputs in;
  in.ag1 = seriesOf(c.ag1);
  in.ag2 = seriesOf(c.ag2);
  in.dt = c.dt;
  in.m = c.mass;
  in.g = c.gravity;
  in.frn = seriesOf(c.swept);
  in.periods = periodsOf(c.periods);
  in.uy = c.uy;
  return analysedHistory(c, i, j, 2, granwick::historyLength(in), [&](HistoryStore& store) {
    return granwick::analyseOscillator(in, i, j, store.view2());
  });
}

std::vector<ComponentHistory> pelloryHistory(const ModuleCall& c, std::int32_t i, std::int32_t j) {
  pellory::Inputs in;
  in.ag = seriesOf(c.ag1);
  in.dt = c.dt;
  in.m = c.mass;
  in.Qd = seriesOf(c.swept);
  in.periods = periodsOf(c.periods);
  in.alpha = c.alpha;
  return analysedHistory(c, i, j, 1, pellory::historyLength(in), [&](HistoryStore& store) {
    return pellory::analyseOscillator(in, i, j, store.view(0));
  });
}

std::vector<ComponentHistory> vintarrowHistory(const ModuleCall& c, std::int32_t i,
                                               std::int32_t j) {
  vintarrow::Inputs in;
  in.ag1 = seriesOf(c.ag1);
  in.ag2 = seriesOf(c.ag2);
  in.dt = c.dt;
  in.m = c.mass;
  in.Qd = seriesOf(c.swept);
  in.periods = periodsOf(c.periods);
  in.alpha = c.alpha;
  return analysedHistory(c, i, j, 2, vintarrow::historyLength(in), [&](HistoryStore& store) {
    return vintarrow::analyseOscillator(in, i, j, store.view2());
  });
}

std::vector<ComponentHistory> analyse(const ModuleCall& c, std::int32_t i, std::int32_t j,
                                      double fy) {
  switch (c.module) {
    case ModuleKind::Quorvel: return quorvelHistory(c, i, j);
    case ModuleKind::Daskent: return daskentHistory(c, i, j);
    case ModuleKind::Morbane: return morbaneHistory(c, i, j, fy);
    case ModuleKind::Tillock: return tillockHistory(c, i, j);
    case ModuleKind::TillockWeight: return tillockWeightHistory(c, i, j);
    case ModuleKind::Granwick: return granwickHistory(c, i, j);
    case ModuleKind::Pellory: return pelloryHistory(c, i, j);
    case ModuleKind::Vintarrow: return vintarrowHistory(c, i, j);
  }
  throw Error("unknown module");
}

// The index of value in values, compared bit for bit; −1 when absent.
std::int32_t indexOf(const std::vector<double>& values, double value) {
  for (std::size_t k = 0; k < values.size(); ++k)
    if (std::memcmp(&values[k], &value, sizeof value) == 0) return static_cast<std::int32_t>(k);
  return -1;
}

}  // namespace

bool isTwoComponent(ModuleKind module) {
  return module == ModuleKind::Daskent || module == ModuleKind::Granwick ||
         module == ModuleKind::Vintarrow;
}

ResponseHistory oscillatorHistory(const ModuleCall& call, std::int32_t i, std::int32_t j,
                                  double yieldForce) {
  checkCall(call, i, j);
  ResponseHistory history;
  history.period = call.periods[static_cast<std::size_t>(i)];
  history.sweptValue = call.swept[static_cast<std::size_t>(j)];
  history.dt = call.dt;
  history.yieldForce =
      call.module == ModuleKind::Morbane ? yieldForce : std::numeric_limits<double>::quiet_NaN();
  history.components = analyse(call, i, j, yieldForce);
  const bool two = isTwoComponent(call.module);
  const std::size_t nAg = two ? std::min(call.ag1.size(), call.ag2.size()) : call.ag1.size();
  history.recordSamples = static_cast<std::int32_t>(nAg);
  fillTotalAcceleration(history.components[0], call.ag1, history.recordSamples);
  if (two) fillTotalAcceleration(history.components[1], call.ag2, history.recordSamples);
  return history;
}

ModuleCall singleOscillatorCall(const ModuleCall& call, double period, double value) {
  ModuleCall single = call;
  single.periods = {period};
  single.swept = {value};
  return single;
}

std::vector<double> morbaneYieldForces(const ModuleCall& call) {
  if (call.module != ModuleKind::Morbane) throw Error("yield forces are Morbane's output");
  morbane::Inputs in;
  in.ag = seriesOf(call.ag1);
  in.dt = call.dt;
  in.m = call.mass;
  in.zeta = seriesOf(call.swept);
  in.periods = periodsOf(call.periods);
  in.kin = call.kin;
  in.iso = call.iso;
  in.method = call.strength.c_str();
  in.para = call.para;
  core::OutputStore store(in.periods.count, in.zeta.count);
  std::string warning;
  std::int32_t status;
  {
    core::CollectWarnings collect(warning);
    status = morbane::getSpectra(store.outputs(), in);
  }
  if (status != 0) throw Error("the inelastic module fails on this call: " + oneLine(warning));
  return store.values(&core::SpectraOutputs::yieldFrc);
}

ResponseHistory responseHistory(const ModuleCall& call, double period, double value,
                                const std::vector<double>& callYieldForces) {
  const std::int32_t i = indexOf(call.periods, period);
  const std::int32_t j = indexOf(call.swept, value);
  const bool inCall = i >= 0 && j >= 0;
  const ModuleCall single = inCall ? ModuleCall() : singleOscillatorCall(call, period, value);
  const ModuleCall& owner = inCall ? call : single;
  const std::int32_t oi = inCall ? i : 0, oj = inCall ? j : 0;
  double fy = 0.0;
  if (call.module == ModuleKind::Morbane) {
    const std::size_t index =
        static_cast<std::size_t>(oi) + static_cast<std::size_t>(oj) * owner.periods.size();
    const bool given = inCall && callYieldForces.size() == call.periods.size() * call.swept.size();
    fy = given ? callYieldForces[index] : morbaneYieldForces(owner).at(index);
    // The driver leaves a failed final analysis at zero, its yield force included.
    if (fy == 0.0)
      throw Error("T = " + numberText(period) + " s, swept value " + numberText(value) +
                  ": the module left this oscillator's outputs at zero (its analysis did not "
                  "converge), so it has no history");
  }
  ResponseHistory history = oscillatorHistory(owner, oi, oj, fy);
  history.ownCall = !inCall;
  return history;
}

}  // namespace measures
