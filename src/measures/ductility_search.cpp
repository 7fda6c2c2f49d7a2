// Scan of the strength reduction factor and bisection for the largest yield strength that
// reaches a target ductility, each trial one analysis of Morbane's integrator.
#include "measures/ductility_search.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/numerics/peaks.h"
#include "morbane/newmark_var.h"

namespace measures {

namespace {

constexpr double kBeta = 0.25;  // average acceleration, as Morbane's driver
constexpr double kGamma = 0.5;
constexpr double kUnitMass = 1.0;

// The integrator reports success when a NaN enters its state (a NaN residual ends the Newton
// iteration), and the peak search skips NaN; such a history has no ductility.
bool allFinite(const double* u, std::int32_t n) {
  for (std::int32_t s = 0; s < n; ++s)
    if (!std::isfinite(u[s])) return false;
  return true;
}

// The trials of one search: each analyses the oscillator at fy = elasticForce / e^x and keeps the
// counts, the largest ductility reached and the last trial that reached the target.
class Trials {
 public:
  Trials(const TrialHistories& h, const UnitMassOscillator& o, double elasticForce, double target)
      : h_(h), o_(o), elasticForce_(elasticForce), target_(target) {
    outcome_.largestMu = std::numeric_limits<double>::quiet_NaN();
  }

  // True when the trial at x = ln R converges with μ ≥ target.
  bool reaches(double x) {
    const double fy = elasticForce_ / std::exp(x);
    outcome_.trials = outcome_.trials + 1;
    if (morbane::newmarkVar(h_.u, h_.v, h_.a, h_.fs, o_.ag, o_.nAg, o_.nTH, o_.dt, kUnitMass,
                            o_.zeta, o_.k, fy, o_.kin, o_.iso, kBeta, kGamma, "Morbane") != 0 ||
        !allFinite(h_.u, o_.nTH)) {
      outcome_.failedTrials = outcome_.failedTrials + 1;
      lastMu_ = std::numeric_limits<double>::quiet_NaN();
      return false;
    }
    const double umax = core::peakAbs(h_.u, o_.nTH);
    const double mu = umax / (fy / o_.k);  // Morbane's muFact: dsp / yieldDsp
    lastMu_ = mu;
    if (std::isnan(outcome_.largestMu) || mu > outcome_.largestMu) outcome_.largestMu = mu;
    if (!(mu >= target_)) return false;
    outcome_.found = true;
    outcome_.fy = fy;
    outcome_.umax = umax;
    outcome_.mu = mu;
    return true;
  }

  const SearchOutcome& outcome() const { return outcome_; }
  // Ductility of the last trial; NaN when it failed.
  double lastMu() const { return lastMu_; }

 private:
  const TrialHistories& h_;
  const UnitMassOscillator& o_;
  double elasticForce_;
  double target_;
  SearchOutcome outcome_;
  double lastMu_ = 0.0;
};

// A stretch of ln R whose lower end does not reach the target and whose upper end does.
struct Bracket {
  double lo, hi;
};

// Steps up from R = 1 (which does not reach) to the first trial that reaches, finely once the
// demand is near the target. False when none up to lnRMax does.
bool scanUp(Trials& trials, const SearchSettings& s, Bracket& b) {
  double x = 0.0;
  for (;;) {
    // A failed trial (NaN) takes the fine step too.
    const bool near = !(trials.lastMu() < s.nearTarget);
    const double next = std::min(x + (near ? s.lnFineStep : s.lnStep), s.lnRMax);
    if (!(next > x)) return false;
    if (trials.reaches(next)) {
      b = {x, next};
      return true;
    }
    x = next;
  }
}

// Steps down from R = 1 (which reaches) to the first trial that does not. False, with the
// strongest trial that reached kept, when every one reached.
bool scanDown(Trials& trials, const SearchSettings& s, Bracket& b) {
  const double steps = std::ceil(s.lnRMax / s.lnStep);
  double x = 0.0;
  for (double n = 1.0; n <= steps; n = n + 1.0) {
    const double next = -n * s.lnStep;
    if (!trials.reaches(next)) {
      b = {next, x};
      return true;
    }
    x = next;
  }
  return false;
}

// Halves the bracket until it is at most lnTolerance wide; the last trial that reached stays at
// its upper end.
void bisect(Trials& trials, const SearchSettings& s, Bracket& b) {
  while (b.hi - b.lo > s.lnTolerance) {
    const double mid = b.lo + 0.5 * (b.hi - b.lo);
    if (!(mid > b.lo && mid < b.hi)) return;
    if (trials.reaches(mid))
      b.hi = mid;
    else
      b.lo = mid;
  }
}

}  // namespace

SearchOutcome searchLargestStrength(const TrialHistories& h, const UnitMassOscillator& o,
                                    double elasticForce, double target,
                                    const SearchSettings& settings) {
  Trials trials(h, o, elasticForce, target);
  Bracket bracket{0.0, 0.0};
  const bool bracketed = trials.reaches(0.0) ? scanDown(trials, settings, bracket)
                                             : scanUp(trials, settings, bracket);
  if (bracketed) bisect(trials, settings, bracket);
  return trials.outcome();
}

}  // namespace measures
