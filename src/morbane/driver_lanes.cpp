// Morbane's fast path: the elastic references in the elastic lanes, then every final analysis and
// every trial of every ductility search side by side in the lanes of the nonlinear engine, over
// the threads; outputs and warnings in the order of the one-thread path.
#include <cstdint>
#include <deque>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "core/lanes/elastic_batch.h"
#include "core/lanes/pair_lanes.h"
#include "core/runtime/console.h"
#include "core/runtime/execution.h"
#include "core/runtime/scratch.h"
#include "morbane/driver_parts.h"
#include "morbane/lanes.h"
#include "morbane/newmark_var.h"

namespace morbane::detail {

namespace {

constexpr const char* kModule = "Morbane";

// One oscillator of the call on its way through the lanes: its elastic reference, its yield force
// (or the search for it), the result of its final analysis and its warnings in order.
struct Oscillator {
  core::ElasticOscillator o;
  double uEl = 0.0, FEl = 0.0;
  std::optional<DuctilitySearch> search;  // while searching
  Carry own{0.0, false};                  // the peak of its own last converged trial
  double fy = 0.0;                        // of the next analysis
  SearchResult result = SearchResult::Settled;
  core::lanes::LaneResult final;
  std::string text;
};

// Hands out the next analysis of every oscillator of [first, last): its trials one after the
// other, then its final analysis.
class OscillatorSource final : public core::lanes::JobSource<ForceLaw> {
 public:
  OscillatorSource(const Call& c, std::vector<Oscillator>& oscillators, std::size_t first,
                   std::size_t last)
      : c_(c), oscillators_(oscillators) {
    for (std::size_t n = first; n < last; ++n) ready_.push_back(n);
  }

  const core::lanes::LaneJob<ForceLaw>* next() override {
    if (ready_.empty()) return nullptr;
    const std::size_t n = ready_.front();
    ready_.pop_front();
    const Oscillator& s = oscillators_[n];
    const double fy = s.search ? s.search->trialStrength() : s.fy;
    job_.emplace(core::lanes::LaneJob<ForceLaw>{
        hardeningOscillator(c_.in.m, s.o.zeta, s.o.k, fy, c_.in.kin, c_.in.iso, kModule), s.o.nTH,
        static_cast<std::int64_t>(n)});
    return &*job_;
  }

  void finished(std::int64_t id, const core::lanes::LaneResult& r) override {
    const std::size_t n = static_cast<std::size_t>(id);
    Oscillator& s = oscillators_[n];
    core::CollectWarnings collect(s.text);
    if (r.failed)
      core::warn("??? %s::newmarkVar - failed to converge: dtSub = %f\n", kModule, r.dtSub);
    if (!s.search) {
      s.final = r;
      return;
    }
    switch (s.search->record(!r.failed, r.dsp, s.own)) {
      case SearchStep::Trial: ready_.push_back(n); return;
      case SearchStep::Settled:
        s.fy = s.search->strength();
        s.search.reset();
        ready_.push_back(n);
        return;
      case SearchStep::Failed: s.result = SearchResult::Failed; break;
      case SearchStep::NeedsCarry: s.result = SearchResult::NeedsCarry; break;
    }
    s.search.reset();
    s.final.failed = true;
  }

 private:
  const Call& c_;
  std::vector<Oscillator>& oscillators_;
  std::deque<std::size_t> ready_;
  std::optional<core::lanes::LaneJob<ForceLaw>> job_;
};

// Every oscillator in the order of the outputs with its elastic reference and its yield force or
// search.
std::vector<Oscillator> describe(const Call& c) {
  const Inputs& in = c.in;
  const std::int32_t nT = in.periods.count;
  std::vector<Oscillator> oscillators(static_cast<std::size_t>(nT) *
                                      static_cast<std::size_t>(in.zeta.count));
  std::vector<core::Oscillator> references(oscillators.size());
  for (std::int32_t j = 0; j < in.zeta.count; ++j)
    for (std::int32_t i = 0; i < nT; ++i) {
      Oscillator& s = oscillators[i + j * nT];
      s.o = core::elasticOscillator(in.ag.count, in.dt, in.m, in.zeta, in.periods, i, j, c.nMax);
      references[i + j * nT] = {s.o.k, s.o.zeta, s.o.nTH};
    }
  const std::vector<core::OscillatorPeaks> peaks =
      core::elasticPeaks(core::ElasticMethod::Recform, in.ag.data, in.ag.count, in.dt, in.m,
                         references, core::vectorUnit(), core::threadCount());
  for (std::size_t n = 0; n < oscillators.size(); ++n) {
    Oscillator& s = oscillators[n];
    s.uEl = peaks[n].dsp;
    s.FEl = peaks[n].rFrc;
    if (c.strength == Strength::Ductility)
      s.search.emplace(in.para, s.o.k, s.o.omega);
    else
      s.fy = fixedStrength(c, s.o, s.FEl);
  }
  return oscillators;
}

// The outputs and warnings in the order of the one-thread path, with the carried peak passed from
// oscillator to oscillator; an oscillator whose search needed it before it was known is analysed
// again, in order, the straightforward way. Stops at a search that failed.
std::int32_t writeInOrder(const Call& c, std::vector<Oscillator>& oscillators) {
  const Inputs& in = c.in;
  const std::int32_t nT = in.periods.count;
  Carry carry{0.0, true};
  core::Scratch scratch;
  for (std::int32_t i = 0; i < nT; ++i) {
    c.out.f[i] = 1.0 / in.periods.data[i];
    for (std::int32_t j = 0; j < in.zeta.count; ++j) {
      const std::int32_t idx = i + j * nT;
      Oscillator& s = oscillators[static_cast<std::size_t>(idx)];
      if (s.result == SearchResult::NeedsCarry) {
        if (scratch.length == 0 && !core::allocateScratch(scratch, 4, c.nMax)) {
          core::warn("??? Morbane::getSpectra - failed to create time-history vectors\n");
          return -1;
        }
        if (analyseInOrder(c, i, j, core::historiesOf(scratch), carry) != SearchResult::Settled)
          return -1;
        continue;
      }
      core::printCollected(s.text);
      if (s.own.known) carry = s.own;
      if (s.result == SearchResult::Failed) return -1;
      if (s.final.failed) continue;  // the entries stay zero
      core::lanes::writeLanePeaks(c.out, idx, s.final);
      writeStrengthValues(c, idx, s.o, s.fy, s.uEl, s.FEl);
    }
  }
  return 0;
}

}  // namespace

std::int32_t getSpectraInLanes(const Call& c) {
  // No histories are kept, but what they could not hold is refused all the same.
  if (c.nMax > std::numeric_limits<std::int32_t>::max()) {
    core::warn("??? Morbane::getSpectra - failed to create time-history vectors\n");
    return -1;
  }
  const Inputs& in = c.in;
  *c.out.pga = core::peakGroundAcceleration(in.ag.data, in.ag.count);
  std::vector<Oscillator> oscillators = describe(c);
  const core::lanes::LaneRun<1> run{
      {{in.ag.data}, in.ag.count}, in.dt, core::newmarkFactors(0.25, 0.5), substepLimits(kModule)};
  core::lanes::forEachBlock(static_cast<std::int64_t>(oscillators.size()),
                            [&](std::size_t first, std::size_t last) {
                              OscillatorSource source(c, oscillators, first, last);
                              runLanes(run, source, core::vectorUnit());
                            });
  return writeInOrder(c, oscillators);
}

}  // namespace morbane::detail
