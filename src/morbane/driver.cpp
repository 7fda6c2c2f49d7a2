// Inelastic spectra driver: per oscillator an elastic reference analysis, the yield force from the
// design parameter (by a ductility search if asked), and the final inelastic analysis.
#include "morbane/driver.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "core/lanes/lane_jobs.h"
#include "core/numerics/history_length.h"
#include "core/numerics/peaks.h"
#include "core/numerics/recform.h"
#include "core/runtime/console.h"
#include "core/runtime/execution.h"
#include "core/runtime/parallel.h"
#include "core/runtime/scratch.h"
#include "core/spectra/derived.h"
#include "morbane/driver_parts.h"
#include "morbane/newmark_var.h"
#include "morbane/oscillator.h"

namespace morbane {

namespace {

constexpr double kBeta = 0.25;
constexpr double kGamma = 0.5;

using detail::Call;
using detail::SearchResult;

// The ductility search of oscillator o on the histories h (see DuctilitySearch): fy once settled.
SearchResult searchDuctility(const Inputs& in, const core::Histories& h,
                             const core::ElasticOscillator& o, Carry& carry, double& fy) {
  DuctilitySearch search(in.para, o.k, o.omega);
  for (;;) {
    const bool converged = analyseOscillator(in, o, search.trialStrength(), h) == 0;
    const double peak = converged ? core::peakAbs(h.u, o.nTH) : 0.0;
    switch (search.record(converged, peak, carry)) {
      case SearchStep::Trial: continue;
      case SearchStep::Settled: fy = search.strength(); return SearchResult::Settled;
      case SearchStep::Failed: return SearchResult::Failed;
      case SearchStep::NeedsCarry: return SearchResult::NeedsCarry;
    }
  }
}

// Every damping ratio of period i, in order. Returns Failed after a ductility search that did not
// settle, NeedsCarry when a search needs the peak of an earlier period's trial.
SearchResult analysePeriod(const Call& c, std::int32_t i, const core::Histories& h, Carry& carry) {
  c.out.f[i] = 1.0 / c.in.periods.data[i];
  for (std::int32_t j = 0; j < c.in.zeta.count; ++j) {
    const SearchResult result = detail::analyseInOrder(c, i, j, h, carry);
    if (result != SearchResult::Settled) return result;
  }
  return SearchResult::Settled;
}

// Zeroes the entries of period i, before it is analysed again.
void clearPeriod(const Call& c, std::int32_t i) {
  const core::SpectraOutputs& o = c.out;
  for (double* field :
       {o.dsp, o.vel, o.acc, o.totAcc, o.psdVel, o.psdAcc, o.resDsp, o.iFrc, o.dFrc, o.rFrc,
        o.yieldDsp, o.psdYieldVel, o.psdYieldAcc, o.yieldFrc, o.RFact, o.muFact, o.gammaFact})
    for (std::int32_t j = 0; j < c.in.zeta.count; ++j) field[i + j * c.in.periods.count] = 0.0;
}

// Periods spread over the threads. A period whose search needed the carried peak before any of
// its own trials completed is analysed again, in order, once the carry is known; warnings are
// printed in period order, up to a search that failed.
std::int32_t analyseInParallel(const Call& c, const std::vector<core::Histories>& workers) {
  const std::int32_t nT = c.in.periods.count;
  const std::size_t n = static_cast<std::size_t>(nT);
  std::vector<std::string> text(n);
  std::vector<SearchResult> result(n);
  std::vector<Carry> carryOut(n);
  core::parallelFor(nT, static_cast<int>(workers.size()), [&](std::int64_t i, int worker) {
    core::CollectWarnings collect(text[i]);
    carryOut[i] = {0.0, false};
    result[i] = analysePeriod(c, static_cast<std::int32_t>(i), workers[worker], carryOut[i]);
  });
  Carry carry{0.0, true};
  for (std::int32_t i = 0; i < nT; ++i) {
    if (result[i] == SearchResult::NeedsCarry) {
      text[i].clear();
      clearPeriod(c, i);
      core::CollectWarnings collect(text[i]);
      result[i] = analysePeriod(c, i, workers[0], carry);
    } else if (carryOut[i].known) {
      carry = carryOut[i];
    }
    core::printCollected(text[i]);
    if (result[i] == SearchResult::Failed) return -1;
  }
  return 0;
}

}  // namespace

namespace detail {

double fixedStrength(const Call& c, const core::ElasticOscillator& o, double FEl) {
  switch (c.strength) {
    case Strength::YieldStrength: return c.in.para;
    case Strength::YieldDisplacement: return o.k * c.in.para;
    default: return FEl / c.in.para;
  }
}

void writeStrengthValues(const Call& c, std::int32_t idx, const core::ElasticOscillator& o,
                         double fy, double uEl, double FEl) {
  const double omega = o.omega, k = o.k, z = o.zeta;
  const core::SpectraOutputs& out = c.out;
  core::writePseudoQuantities(out, idx, omega, c.in.m);
  core::writeDampingForce(out, idx, z, std::sqrt(c.in.m * k));
  core::writeYield(out, idx, omega, fy / k, fy);
  core::writeFactors(out, idx, FEl, uEl, fy);
}

SearchResult analyseInOrder(const Call& c, std::int32_t i, std::int32_t j, const core::Histories& h,
                            Carry& carry) {
  const Inputs& in = c.in;
  const std::int32_t idx = i + j * in.periods.count;
  const core::ElasticOscillator o =
      core::elasticOscillator(in.ag.count, in.dt, in.m, in.zeta, in.periods, i, j, c.nMax);

  core::recform(h.u, h.v, h.a, h.fs, in.ag.data, in.ag.count, o.nTH, in.dt, in.m, o.zeta, o.k);
  const double uEl = core::peakAbs(h.u, o.nTH);
  const double FEl = core::peakAbs(h.fs, o.nTH);

  double fy = 0.0;
  if (c.strength == Strength::Ductility) {
    const SearchResult search = searchDuctility(in, h, o, carry, fy);
    if (search != SearchResult::Settled) return search;
  } else {
    fy = fixedStrength(c, o, FEl);
  }
  // A failed final analysis leaves this oscillator's entries at zero.
  if (analyseOscillator(in, o, fy, h) != 0) return SearchResult::Settled;
  core::updatePeaks(
      h.u, h.v, h.a, h.fs, in.ag.data, in.ag.count, o.nTH,
      {c.out.dsp + idx, c.out.vel + idx, c.out.acc + idx, c.out.totAcc + idx, c.out.rFrc + idx});
  c.out.resDsp[idx] = std::fabs(h.u[o.nTH - 1]);
  writeStrengthValues(c, idx, o, fy, uEl, FEl);
  return SearchResult::Settled;
}

}  // namespace detail

core::ElasticOscillator oscillatorOf(const Inputs& in, std::int32_t i, std::int32_t j) {
  return core::elasticOscillator(in.ag.count, in.dt, in.m, in.zeta, in.periods, i, j,
                                 core::callCapacity(in.ag.count, in.zeta, in.periods, in.dt));
}

std::int32_t analyseOscillator(const Inputs& in, const core::ElasticOscillator& o, double fy,
                               const core::Histories& h) {
  return newmarkVar(h.u, h.v, h.a, h.fs, in.ag.data, in.ag.count, o.nTH, in.dt, in.m, o.zeta, o.k,
                    fy, in.kin, in.iso, kBeta, kGamma, "Morbane");
}

Strength strengthDefinition(const char* method) {
  if (std::strcmp(method, "yieldStrength") == 0 || std::strcmp(method, "fy") == 0)
    return Strength::YieldStrength;
  if (std::strcmp(method, "yieldDisplacement") == 0 || std::strcmp(method, "uy") == 0)
    return Strength::YieldDisplacement;
  if (std::strcmp(method, "strengthReductionFactor") == 0 || std::strcmp(method, "R") == 0)
    return Strength::ReductionFactor;
  if (std::strcmp(method, "ductilityFactor") == 0 || std::strcmp(method, "mu") == 0)
    return Strength::Ductility;
  return Strength::Unknown;
}

std::int32_t getSpectra(const core::SpectraOutputs& out, const Inputs& in) {
  if (core::straightforward() || !core::lanes::lanesTakeTimeStep(in.dt))
    return getSpectraStraightforward(out, in);
  const Strength strength = strengthDefinition(in.method);
  if (strength == Strength::Unknown) {
    core::warn("??? Morbane::getSpectra - invalid strength definition received\n");
    return -1;
  }
  return detail::getSpectraInLanes(
      {out, in, strength, core::callCapacity(in.ag.count, in.zeta, in.periods, in.dt)});
}

std::int32_t getSpectraStraightforward(const core::SpectraOutputs& out, const Inputs& in) {
  // The keyword decides the same way for every oscillator, so it is read once.
  const Strength strength = strengthDefinition(in.method);
  if (strength == Strength::Unknown) {
    core::warn("??? Morbane::getSpectra - invalid strength definition received\n");
    return -1;
  }
  const std::int32_t nT = in.periods.count;
  const Call c{out, in, strength, core::callCapacity(in.ag.count, in.zeta, in.periods, in.dt)};

  // One set of histories per thread; fewer threads when memory runs short.
  const int wanted = static_cast<int>(std::min<std::int64_t>(std::max(core::threadCount(), 1), nT));
  std::vector<core::Scratch> scratch(static_cast<std::size_t>(wanted));
  std::vector<core::Histories> workers;
  for (core::Scratch& s : scratch) {
    if (!core::allocateScratch(s, 4, c.nMax)) break;
    workers.push_back(core::historiesOf(s));
  }
  if (workers.empty()) {
    core::warn("??? Morbane::getSpectra - failed to create time-history vectors\n");
    return -1;
  }

  *out.pga = core::peakGroundAcceleration(in.ag.data, in.ag.count);
  if (workers.size() > 1) return analyseInParallel(c, workers);
  // Peak displacement of the last completed ductility trial; 0 until one has completed.
  Carry carry{0.0, true};
  for (std::int32_t i = 0; i < nT; ++i)
    if (analysePeriod(c, i, workers[0], carry) == SearchResult::Failed) return -1;
  return 0;
}

}  // namespace morbane
