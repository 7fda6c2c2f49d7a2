// Constant-ductility spectra: input checks, the elastic reference force of each oscillator, the
// search for its largest strength, and the spread of the periods over threads.
#include "measures/constant_ductility.h"

#include <cmath>
#include <deque>
#include <optional>
#include <cstdio>
#include <exception>
#include <limits>
#include <new>
#include <stdexcept>

#include "core/lanes/elastic_batch.h"
#include "core/lanes/pair_lanes.h"
#include "core/numerics/history_length.h"
#include "core/numerics/peaks.h"
#include "core/numerics/recform.h"
#include "core/runtime/console.h"
#include "core/runtime/parallel.h"
#include "core/runtime/scratch.h"
#include "measures/ductility_search.h"
#include "morbane/lanes.h"
#include "morbane/newmark_var.h"
#include "core/runtime/execution.h"

namespace measures {

namespace {

constexpr double kUnitMass = 1.0;
// A ductility reached beyond 1.1 × the target is no rounding of the bisection (a few tenths of a
// percent at the default tolerance) but a discontinuity of μ(R).
constexpr double kLeap = 1.1;

std::string formatted(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

void require(bool ok, const std::string& what) {
  if (!ok) throw std::invalid_argument(what);
}

void checkRecord(const std::vector<double>& ag, double dt) {
  require(!ag.empty(), "the record has no samples");
  require(ag.size() <= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()),
          "the record has more samples than one analysis can hold (2147483647)");
  bool moves = false;
  for (std::size_t s = 0; s < ag.size(); ++s) {
    require(std::isfinite(ag[s]), "record sample " + std::to_string(s + 1) +
                                      " is not a finite number: correct or remove it");
    moves = moves || ag[s] != 0.0;
  }
  require(moves, "every sample of the record is zero, so no oscillator yields");
  require(std::isfinite(dt) && dt > 0.0,
          "time step dt = " + formatted("%g", dt) + " s: must be a positive number");
}

void checkOscillators(const DuctilityOscillators& o) {
  require(!o.periods.empty(), "no periods given");
  for (double T : o.periods)
    require(std::isfinite(T) && T > 0.0,
            "period T = " + formatted("%g", T) + " s: must be a positive number");
  require(!o.dampingRatios.empty(), "no damping ratios given");
  for (double z : o.dampingRatios)
    require(std::isfinite(z) && z >= 0.0 && z < 1.0,
            "damping ratio ζ = " + formatted("%g", z) + ": must be at least 0 and below 1");
  require(std::isfinite(o.mass) && o.mass > 0.0,
          "mass m = " + formatted("%g", o.mass) + ": must be a positive number");
  require(std::isfinite(o.kin), "hardening ratio kin: must be a finite number");
  require(std::isfinite(o.iso), "hardening ratio iso: must be a finite number");
}

void checkSearch(double ductility, const DuctilitySearch& s) {
  require(std::isfinite(ductility) && ductility >= 1.0,
          "target ductility μ = " + formatted("%g", ductility) + ": must be at least 1");
  require(std::isfinite(s.scanFactor) && s.scanFactor > 1.0,
          "scan factor " + formatted("%g", s.scanFactor) + ": must be greater than 1");
  require(std::isfinite(s.fineScanFactor) && s.fineScanFactor > 1.0,
          "fine scan factor " + formatted("%g", s.fineScanFactor) + ": must be greater than 1");
  require(s.nearFraction >= 0.0 && s.nearFraction <= 1.0,
          "near fraction " + formatted("%g", s.nearFraction) + ": must lie between 0 and 1");
  require(std::isfinite(s.rMax) && s.rMax >= 1.0,
          "largest strength reduction factor R = " + formatted("%g", s.rMax) +
              ": must be at least 1");
  require(std::isfinite(s.tolerance) && s.tolerance > 0.0,
          "tolerance on ln R " + formatted("%g", s.tolerance) + ": must be a positive number");
}

// Everything the periods of one call share.
struct Call {
  const std::vector<double>& ag;
  std::int32_t nAg;
  double dt;
  const DuctilityOscillators& oscillators;
  double target;
  SearchSettings settings;
  double rMax;
  std::int64_t nMax;
  ConstantDuctilitySpectrum& out;
};

// The line for an oscillator without a solution.
std::string noSolutionWarning(const Call& c, double T, double zeta, const SearchOutcome& s) {
  std::string text = "T = " + formatted("%g", T) + " s, ζ = " + formatted("%g", 100.0 * zeta) +
                     " %: ";
  const std::string mu = formatted("%g", c.target);
  const std::string rMax = formatted("%g", c.rMax);
  if (s.failedTrials == s.trials)
    return text + "no analysis converged for R from 1 to " + rMax +
           ", so no yield strength reaches μ = " + mu + "; left empty";
  text += "no yield strength reaches μ = " + mu + " for R up to " + rMax + " (largest reached " +
          formatted("%.3g", s.largestMu);
  if (s.failedTrials > 0)
    text += "; " + std::to_string(s.failedTrials) + " of " + std::to_string(s.trials) +
            " analyses did not converge";
  return text + "); left empty";
}

// The line for an oscillator whose ductility demand leaps past the target within the tolerance.
std::string jumpWarning(double T, double zeta, double target, double mu) {
  return "T = " + formatted("%g", T) + " s, ζ = " + formatted("%g", 100.0 * zeta) +
         " %: the ductility demand leaps past μ = " + formatted("%g", target) + " to " +
         formatted("%.3g", mu) +
         " within the tolerance on R (does the oscillator collapse?); the strength is kept";
}

DuctilityPoint pointOf(const SearchOutcome& s, double mass, double k, double elasticForce) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  DuctilityPoint p{nan,           nan,         nan, nan, nan, mass * elasticForce, s.largestMu,
                   DuctilityStatus::Reached, s.trials, s.failedTrials};
  if (!s.found) {
    p.status = s.failedTrials == s.trials ? DuctilityStatus::TrialsFailed
                                          : DuctilityStatus::NotReached;
    return p;
  }
  p.yieldStrength = mass * s.fy;
  p.reductionFactor = elasticForce / s.fy;
  p.yieldDisplacement = s.fy / k;
  p.ductility = s.mu;
  p.peakDisplacement = s.umax;
  return p;
}

// The point of period i and damping ratio j from its search, and its warning, if any.
void writePoint(const Call& c, std::int32_t i, std::int32_t j, double T, double z, double k,
                double elasticForce, const SearchOutcome& s, std::vector<std::string>& warnings) {
  c.out.points[static_cast<std::size_t>(i + j * c.out.periodCount)] =
      pointOf(s, c.oscillators.mass, k, elasticForce);
  if (!s.found)
    warnings.push_back(noSolutionWarning(c, T, z, s));
  else if (s.mu > kLeap * c.target)
    warnings.push_back(jumpWarning(T, z, c.target, s.mu));
}

// One oscillator of the lane path: period, damping ratio, stiffness, samples and its search.
struct Oscillator {
  double T, zeta, k;
  std::int32_t nTH;
  LargestStrengthSearch search;
};

// Every damping ratio of period i, in order, at unit mass; warnings go to `warnings`.
void analysePeriod(const Call& c, std::int32_t i, const TrialHistories& h,
                   std::vector<std::string>& warnings) {
  const double pi = std::acos(-1.0);
  const double twoPi = pi + pi;
  const double T = c.oscillators.periods[static_cast<std::size_t>(i)];
  const double omega = twoPi / T;
  const double k = (kUnitMass * omega) * omega;  // Morbane's k = (m·ω)·ω at m = 1
  for (std::int32_t j = 0; j < c.out.dampingCount; ++j) {
    const double z = c.oscillators.dampingRatios[static_cast<std::size_t>(j)];
    const std::int32_t nTH = core::historyLength(c.nAg, z, omega, c.dt, c.nMax);
    core::recform(h.u, h.v, h.a, h.fs, c.ag.data(), c.nAg, nTH, c.dt, kUnitMass, z, k);
    const double elasticForce = core::peakAbs(h.fs, nTH);
    const UnitMassOscillator o{c.ag.data(), c.nAg, nTH, c.dt, z, k, c.oscillators.kin,
                               c.oscillators.iso};
    const SearchOutcome s = searchLargestStrength(h, o, elasticForce, c.target, c.settings);
    writePoint(c, i, j, T, z, k, elasticForce, s, warnings);
  }
}

// The trials of every search of [first, last), side by side in the lanes of the nonlinear engine:
// each oscillator's next trial is handed out once the previous one is recorded.
class SearchSource final : public core::lanes::JobSource<morbane::ForceLaw> {
 public:
  SearchSource(const Call& c, std::vector<Oscillator>& oscillators, std::size_t first,
               std::size_t last)
      : c_(c), oscillators_(oscillators) {
    for (std::size_t n = first; n < last; ++n)
      if (!oscillators_[n].search.done()) ready_.push_back(n);
  }

  const core::lanes::LaneJob<morbane::ForceLaw>* next() override {
    if (ready_.empty()) return nullptr;
    const std::size_t n = ready_.front();
    ready_.pop_front();
    const Oscillator& o = oscillators_[n];
    job_.emplace(core::lanes::LaneJob<morbane::ForceLaw>{
        morbane::hardeningOscillator(kUnitMass, o.zeta, o.k, o.search.trialStrength(),
                                     c_.oscillators.kin, c_.oscillators.iso, "Morbane"),
        o.nTH, static_cast<std::int64_t>(n)});
    return &*job_;
  }

  void finished(std::int64_t id, const core::lanes::LaneResult& r) override {
    const std::size_t n = static_cast<std::size_t>(id);
    LargestStrengthSearch& search = oscillators_[n].search;
    const bool converged = !r.failed && r.finite;
    search.record(converged, converged ? r.dsp : 0.0);
    if (!search.done()) ready_.push_back(n);
  }

 private:
  const Call& c_;
  std::vector<Oscillator>& oscillators_;
  std::deque<std::size_t> ready_;
  std::optional<core::lanes::LaneJob<morbane::ForceLaw>> job_;
};

// Every oscillator's elastic reference in the elastic lanes and its search in the nonlinear ones,
// over the threads; points and warnings as analyseInParallel gives them, bit for bit.
void analyseInLanes(const Call& c) {
  const double pi = std::acos(-1.0);
  const double twoPi = pi + pi;
  const std::int32_t nT = c.out.periodCount;
  std::vector<Oscillator> oscillators;
  std::vector<core::Oscillator> references;
  for (std::int32_t j = 0; j < c.out.dampingCount; ++j)
    for (std::int32_t i = 0; i < nT; ++i) {
      const double T = c.oscillators.periods[static_cast<std::size_t>(i)];
      const double omega = twoPi / T;
      const double k = (kUnitMass * omega) * omega;  // as analysePeriod forms it
      const double z = c.oscillators.dampingRatios[static_cast<std::size_t>(j)];
      const std::int32_t nTH = core::historyLength(c.nAg, z, omega, c.dt, c.nMax);
      oscillators.push_back({T, z, k, nTH, LargestStrengthSearch(k, 0.0, c.target, c.settings)});
      references.push_back({k, z, nTH});
    }
  const std::vector<core::OscillatorPeaks> peaks =
      core::elasticPeaks(core::ElasticMethod::Recform, c.ag.data(), c.nAg, c.dt, kUnitMass,
                         references, core::vectorUnit(), core::threadCount());
  for (std::size_t n = 0; n < oscillators.size(); ++n)
    oscillators[n].search = LargestStrengthSearch(oscillators[n].k, peaks[n].rFrc, c.target,
                                                  c.settings);
  const core::lanes::LaneRun<1> run{{{c.ag.data()}, c.nAg},
                                    c.dt,
                                    core::newmarkFactors(0.25, 0.5),
                                    morbane::substepLimits("Morbane")};
  core::lanes::forEachBlock(
      static_cast<std::int64_t>(oscillators.size()), [&](std::size_t first, std::size_t last) {
        SearchSource source(c, oscillators, first, last);
        morbane::runLanes(run, source, core::vectorUnit());
      });
  for (std::int32_t i = 0; i < nT; ++i)
    for (std::int32_t j = 0; j < c.out.dampingCount; ++j) {
      const Oscillator& o = oscillators[static_cast<std::size_t>(i + j * nT)];
      writePoint(c, i, j, o.T, o.zeta, o.k, peaks[static_cast<std::size_t>(i + j * nT)].rFrc,
                 o.search.outcome(), c.out.warnings);
    }
}

// Periods spread over the workers, one set of histories each; each period writes only its own
// points and warnings, which are then gathered in period order.
void analyseInParallel(const Call& c, std::vector<core::Scratch>& scratch) {
  const std::int32_t nT = c.out.periodCount;
  std::vector<std::vector<std::string>> warnings(static_cast<std::size_t>(nT));
  std::vector<std::exception_ptr> errors(static_cast<std::size_t>(nT));
  core::parallelFor(nT, static_cast<int>(scratch.size()), [&](std::int64_t i, int worker) {
    try {
      // The integrator's messages about trials that do not converge are counted, not printed.
      std::string integratorText;
      core::CollectWarnings quiet(integratorText);
      const core::Scratch& s = scratch[static_cast<std::size_t>(worker)];
      const TrialHistories h{s.vector(0), s.vector(1), s.vector(2), s.vector(3)};
      analysePeriod(c, static_cast<std::int32_t>(i), h, warnings[static_cast<std::size_t>(i)]);
    } catch (...) {
      errors[static_cast<std::size_t>(i)] = std::current_exception();
    }
  });
  for (std::size_t i = 0; i < warnings.size(); ++i) {
    if (errors[i]) std::rethrow_exception(errors[i]);
    for (std::string& line : warnings[i]) c.out.warnings.push_back(std::move(line));
  }
}

}  // namespace

ConstantDuctilitySpectrum constantDuctilitySpectrum(const std::vector<double>& ag, double dt,
                                                    const DuctilityOscillators& oscillators,
                                                    double ductility,
                                                    const DuctilitySearch& search) {
  checkRecord(ag, dt);
  checkOscillators(oscillators);
  checkSearch(ductility, search);
  ConstantDuctilitySpectrum out;
  out.periodCount = static_cast<std::int32_t>(oscillators.periods.size());
  out.dampingCount = static_cast<std::int32_t>(oscillators.dampingRatios.size());
  out.points.resize(oscillators.periods.size() * oscillators.dampingRatios.size());

  const std::int32_t nAg = static_cast<std::int32_t>(ag.size());
  const std::int64_t nMax = core::historyCapacity(nAg, oscillators.dampingRatios.front(),
                                                  oscillators.periods.back(), dt);
  const SearchSettings settings{std::log(search.scanFactor), std::log(search.fineScanFactor),
                                search.nearFraction * ductility, std::log(search.rMax),
                                search.tolerance};
  const Call c{ag, nAg, dt, oscillators, ductility, settings, search.rMax, nMax, out};
  if (!core::straightforward()) {
    // No histories are kept, but what they could not hold is refused all the same.
    if (nMax > std::numeric_limits<std::int32_t>::max()) throw std::bad_alloc();
    analyseInLanes(c);
    return out;
  }
  std::vector<core::Scratch> scratch =
      core::allocateWorkerScratch(core::workersFor(out.periodCount), 4, nMax);
  if (scratch.empty()) throw std::bad_alloc();
  analyseInParallel(c, scratch);
  return out;
}

}  // namespace measures
