// Inelastic spectra driver: per oscillator an elastic reference analysis, the yield force from the
// design parameter (by a ductility search if asked), and the final inelastic analysis.
#include "morbane/driver.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "core/runtime/console.h"
#include "core/runtime/execution.h"
#include "core/numerics/history_length.h"
#include "morbane/newmark_var.h"
#include "core/runtime/parallel.h"
#include "core/numerics/peaks.h"
#include "core/numerics/recform.h"
#include "core/runtime/scratch.h"

namespace morbane {

namespace {

constexpr double kBeta = 0.25;
constexpr double kGamma = 0.5;
constexpr double kSearchTolerance = 0.001;  // on the change of ln(fy) between trials
constexpr std::int32_t kSearchLimit = 25;   // a search must settle within 25 trials

// The four scratch histories of one call.
struct Histories {
  double* u;
  double* v;
  double* a;
  double* fs;
};

// One oscillator as newmarkVar needs it, apart from its yield force.
struct Oscillator {
  const double* ag;
  std::int32_t nAg;
  std::int32_t nTH;
  double dt, m, zeta, k, kin, iso;
};

std::int32_t analyse(const Histories& h, const Oscillator& o, double fy) {
  return morbane::newmarkVar(h.u, h.v, h.a, h.fs, o.ag, o.nAg, o.nTH, o.dt, o.m, o.zeta, o.k, fy,
                          o.kin, o.iso, kBeta, kGamma, "Morbane");
}

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
SearchResult searchDuctility(const Histories& h, const Oscillator& o, double mu, double omega,
                             Carry& carry, double& fy) {
  double x = 1.0;
  std::int32_t n = 0;
  for (;;) {
    if (analyse(h, o, std::exp(x)) == 0)
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
                 ((umax / std::exp(x)) * omega) * omega);
      return SearchResult::Failed;
    }
    fy = std::exp(y);
    return SearchResult::Settled;
  }
}

// Everything one call shares: inputs and the output matrices, in field order from "dsp".
struct Call {
  double* f;
  double* out[17];  // dsp vel acc totAcc psdVel psdAcc resDsp iFrc dFrc rFrc yieldDsp
                    // psdYieldVel psdYieldAcc yieldFrc RFact muFact gammaFact
  const double* ag;
  std::int32_t nAg;
  double dt;
  const double* T;
  std::int32_t nT;
  double m;
  const double* zeta;
  std::int32_t nZeta;
  double kin, iso, para;
  Strength strength;
  std::int64_t nMax;
};

// Writes the peaks and strength measures of the final analysis of oscillator idx.
void writeOscillator(const Call& c, const Histories& h, std::int32_t idx, std::int32_t nTH,
                     double omega, double k, double z, double fy, double uEl, double FEl) {
  double* dsp = c.out[0];
  double* vel = c.out[1];
  double* acc = c.out[2];
  double* totAcc = c.out[3];
  double* rFrc = c.out[9];
  core::updatePeaks(h.u, h.v, h.a, h.fs, c.ag, c.nAg, nTH,
                    {dsp + idx, vel + idx, acc + idx, totAcc + idx, rFrc + idx});
  double* yieldDsp = c.out[10];
  c.out[4][idx] = omega * dsp[idx];
  c.out[5][idx] = (omega * dsp[idx]) * omega;
  c.out[6][idx] = std::fabs(h.u[nTH - 1]);
  c.out[7][idx] = c.m * totAcc[idx];
  c.out[8][idx] = ((z + z) * std::sqrt(c.m * k)) * vel[idx];
  yieldDsp[idx] = fy / k;
  c.out[11][idx] = yieldDsp[idx] * omega;
  c.out[12][idx] = (yieldDsp[idx] * omega) * omega;
  c.out[13][idx] = fy;
  c.out[14][idx] = FEl / fy;
  c.out[15][idx] = dsp[idx] / yieldDsp[idx];
  c.out[16][idx] = dsp[idx] / uEl;
}

// Every damping ratio of period i, in order. Returns Failed after a ductility search that did not
// settle, NeedsCarry when a search needs the peak of an earlier period's trial.
SearchResult analysePeriod(const Call& c, std::int32_t i, const Histories& h, Carry& carry) {
  const double pi = std::acos(-1.0);
  const double twoPi = pi + pi;
  c.f[i] = 1.0 / c.T[i];
  const double omega = twoPi / c.T[i];
  const double k = (c.m * omega) * omega;
  for (std::int32_t j = 0; j < c.nZeta; ++j) {
    const double z = c.zeta[j];
    const std::int32_t idx = i + j * c.nT;
    const std::int32_t nTH = core::historyLength(c.nAg, z, omega, c.dt, c.nMax);
    const Oscillator o{c.ag, c.nAg, nTH, c.dt, c.m, z, k, c.kin, c.iso};

    core::recform(h.u, h.v, h.a, h.fs, c.ag, c.nAg, nTH, c.dt, c.m, z, k);
    const double uEl = core::peakAbs(h.u, nTH);
    const double FEl = core::peakAbs(h.fs, nTH);

    double fy = 0.0;
    switch (c.strength) {
      case Strength::YieldStrength:
        fy = c.para;
        break;
      case Strength::YieldDisplacement:
        fy = k * c.para;
        break;
      case Strength::ReductionFactor:
        fy = FEl / c.para;
        break;
      default: {
        const SearchResult search = searchDuctility(h, o, c.para, omega, carry, fy);
        if (search != SearchResult::Settled) return search;
      }
    }
    // A failed final analysis leaves this oscillator's entries at zero.
    if (analyse(h, o, fy) != 0) continue;
    writeOscillator(c, h, idx, nTH, omega, k, z, fy, uEl, FEl);
  }
  return SearchResult::Settled;
}

// Zeroes the entries of period i, before it is analysed again.
void clearPeriod(const Call& c, std::int32_t i) {
  for (double* field : c.out)
    for (std::int32_t j = 0; j < c.nZeta; ++j) field[i + j * c.nT] = 0.0;
}

// Periods spread over the threads. A period whose search needed the carried peak before any of
// its own trials completed is analysed again, in order, once the carry is known; warnings are
// printed in period order, up to a search that failed.
std::int32_t analyseInParallel(const Call& c, const std::vector<Histories>& workers) {
  const std::size_t n = static_cast<std::size_t>(c.nT);
  std::vector<std::string> text(n);
  std::vector<SearchResult> result(n);
  std::vector<Carry> carryOut(n);
  core::parallelFor(c.nT, static_cast<int>(workers.size()), [&](std::int64_t i, int worker) {
    core::CollectWarnings collect(text[i]);
    carryOut[i] = {0.0, false};
    result[i] = analysePeriod(c, static_cast<std::int32_t>(i), workers[worker], carryOut[i]);
  });
  Carry carry{0.0, true};
  for (std::int32_t i = 0; i < c.nT; ++i) {
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

std::int32_t getSpectra(double* pga, double* f, double* dsp, double* vel, double* acc,
                        double* totAcc, double* psdVel, double* psdAcc, double* resDsp,
                        double* iFrc, double* dFrc, double* rFrc, double* yieldDsp,
                        double* psdYieldVel, double* psdYieldAcc, double* yieldFrc, double* RFact,
                        double* muFact, double* gammaFact, const double* ag, std::int32_t nAg,
                        double dt, const double* T, std::int32_t nT, double m, const double* zeta,
                        std::int32_t nZeta, double kin, double iso, double para,
                        const char* method) {
  // The keyword decides the same way for every oscillator, so it is read once.
  const Strength strength = strengthDefinition(method);
  if (strength == Strength::Unknown) {
    core::warn("??? Morbane::getSpectra - invalid strength definition received\n");
    return -1;
  }
  const Call c{f,
               {dsp, vel, acc, totAcc, psdVel, psdAcc, resDsp, iFrc, dFrc, rFrc, yieldDsp,
                psdYieldVel, psdYieldAcc, yieldFrc, RFact, muFact, gammaFact},
               ag, nAg, dt, T, nT, m, zeta, nZeta, kin, iso, para, strength,
               core::historyCapacity(nAg, zeta[0], T[nT - 1], dt)};

  // One set of histories per thread; fewer threads when memory runs short.
  const int wanted = static_cast<int>(std::min<std::int64_t>(std::max(core::threadCount(), 1), nT));
  std::vector<core::Scratch> scratch(static_cast<std::size_t>(wanted));
  std::vector<Histories> workers;
  for (core::Scratch& s : scratch) {
    if (!core::allocateScratch(s, 4, c.nMax)) break;
    workers.push_back({s.vector(0), s.vector(1), s.vector(2), s.vector(3)});
  }
  if (workers.empty()) {
    core::warn("??? Morbane::getSpectra - failed to create time-history vectors\n");
    return -1;
  }

  *pga = core::peakGroundAcceleration(ag, nAg);
  if (workers.size() > 1) return analyseInParallel(c, workers);
  // Peak displacement of the last completed ductility trial; 0 until one has completed.
  Carry carry{0.0, true};
  for (std::int32_t i = 0; i < nT; ++i)
    if (analysePeriod(c, i, workers[0], carry) == SearchResult::Failed) return -1;
  return 0;
}

}  // namespace morbane
