// Inelastic spectra driver: per oscillator an elastic reference analysis, the yield force from the
// design parameter (by a ductility search if asked), and the final inelastic analysis.
#include "morbane/driver.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "core/numerics/history_length.h"
#include "core/numerics/peaks.h"
#include "core/numerics/recform.h"
#include "core/runtime/console.h"
#include "core/runtime/execution.h"
#include "core/runtime/parallel.h"
#include "core/runtime/scratch.h"
#include "core/spectra/derived.h"
#include "morbane/newmark_var.h"
#include "morbane/oscillator.h"

namespace morbane {

namespace {

constexpr double kBeta = 0.25;
constexpr double kGamma = 0.5;
constexpr double kSearchTolerance = 0.001;  // on the change of ln(fy) between trials
constexpr std::int32_t kSearchLimit = 25;   // a search must settle within 25 trials

// Peak displacement of the most recent completed ductility trial, carried from oscillator to
// oscillator: a failed trial reuses it. A period analysed ahead of its predecessors on another
// thread does not know it until one of its own trials completes.
struct Carry {
  double umax;
  bool known;
};

enum class SearchResult { Settled, Failed, NeedsCarry };

// Fixed-point search for the yield force that gives the target ductility mu, carried out on
// x = ln(fy): fy ← k·umax(fy)/mu until ln(fy) moves by at most 0.001. Fails, with the warning
// printed, when the search has not settled after 25 trials.
SearchResult searchDuctility(const Inputs& in, const core::Histories& h,
                             const core::ElasticOscillator& o, Carry& carry, double& fy) {
  const double mu = in.para;
  double x = 1.0;
  std::int32_t n = 0;
  for (;;) {
    if (analyseOscillator(in, o, std::exp(x), h) == 0)
      carry = {core::peakAbs(h.u, o.nTH), true};
    else if (!carry.known)
      return SearchResult::NeedsCarry;
    const double umax = carry.umax;
    const double y = std::log((o.k * umax) / mu);
    n = n + 1;
    if (std::fabs(y - x) > kSearchTolerance && n <= kSearchLimit) {
      x = y;
      continue;
    }
    if (n > kSearchLimit) {
      core::warn("??? Morbane::getSpectra - failed to converge: mu = %f\n",
                 ((umax / std::exp(x)) * o.omega) * o.omega);
      return SearchResult::Failed;
    }
    fy = std::exp(y);
    return SearchResult::Settled;
  }
}

// Everything one call shares: the inputs, the outputs and the scratch capacity.
struct Call {
  const core::SpectraOutputs& out;
  const Inputs& in;
  Strength strength;
  std::int64_t nMax;
};

// Writes the peaks and strength measures of the final analysis of oscillator idx.
void writeOscillator(const Call& c, const core::Histories& h, std::int32_t idx,
                     const core::ElasticOscillator& o, double fy, double uEl, double FEl) {
  const std::int32_t nTH = o.nTH;
  const double omega = o.omega, k = o.k, z = o.zeta;
  const core::SpectraOutputs& out = c.out;
  core::updatePeaks(
      h.u, h.v, h.a, h.fs, c.in.ag.data, c.in.ag.count, nTH,
      {out.dsp + idx, out.vel + idx, out.acc + idx, out.totAcc + idx, out.rFrc + idx});
  core::writePseudoQuantities(out, idx, omega, c.in.m);
  out.resDsp[idx] = std::fabs(h.u[nTH - 1]);
  core::writeDampingForce(out, idx, z, std::sqrt(c.in.m * k));
  core::writeYield(out, idx, omega, fy / k, fy);
  core::writeFactors(out, idx, FEl, uEl, fy);
}

// Every damping ratio of period i, in order. Returns Failed after a ductility search that did not
// settle, NeedsCarry when a search needs the peak of an earlier period's trial.
SearchResult analysePeriod(const Call& c, std::int32_t i, const core::Histories& h, Carry& carry) {
  const Inputs& in = c.in;
  c.out.f[i] = 1.0 / in.periods.data[i];
  for (std::int32_t j = 0; j < in.zeta.count; ++j) {
    const std::int32_t idx = i + j * in.periods.count;
    const core::ElasticOscillator o =
        core::elasticOscillator(in.ag.count, in.dt, in.m, in.zeta, in.periods, i, j, c.nMax);

    core::recform(h.u, h.v, h.a, h.fs, in.ag.data, in.ag.count, o.nTH, in.dt, in.m, o.zeta, o.k);
    const double uEl = core::peakAbs(h.u, o.nTH);
    const double FEl = core::peakAbs(h.fs, o.nTH);

    double fy = 0.0;
    switch (c.strength) {
      case Strength::YieldStrength: fy = in.para; break;
      case Strength::YieldDisplacement: fy = o.k * in.para; break;
      case Strength::ReductionFactor: fy = FEl / in.para; break;
      default: {
        const SearchResult search = searchDuctility(in, h, o, carry, fy);
        if (search != SearchResult::Settled) return search;
      }
    }
    // A failed final analysis leaves this oscillator's entries at zero.
    if (analyseOscillator(in, o, fy, h) != 0) continue;
    writeOscillator(c, h, idx, o, fy, uEl, FEl);
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
