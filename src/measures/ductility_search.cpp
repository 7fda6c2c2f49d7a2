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

}  // namespace

LargestStrengthSearch::LargestStrengthSearch(double k, double elasticForce, double target,
                                             const SearchSettings& settings)
    : k_(k), elasticForce_(elasticForce), target_(target), settings_(settings) {
  outcome_.largestMu = std::numeric_limits<double>::quiet_NaN();
}

double LargestStrengthSearch::trialStrength() const {
  return elasticForce_ / std::exp(pending_);
}

// Whether the trial at x = pending_ reaches the target; keeps the counts, the largest ductility
// reached and the last trial that reached it.
bool LargestStrengthSearch::reached(bool converged, double umax) {
  const double fy = trialStrength();
  outcome_.trials = outcome_.trials + 1;
  if (!converged) {
    outcome_.failedTrials = outcome_.failedTrials + 1;
    lastMu_ = std::numeric_limits<double>::quiet_NaN();
    return false;
  }
  const double mu = umax / (fy / k_);  // Morbane's muFact: dsp / yieldDsp
  lastMu_ = mu;
  if (std::isnan(outcome_.largestMu) || mu > outcome_.largestMu) outcome_.largestMu = mu;
  if (!(mu >= target_)) return false;
  outcome_.found = true;
  outcome_.fy = fy;
  outcome_.umax = umax;
  outcome_.mu = mu;
  return true;
}

// The scan up from R = 1 (which does not reach): the next step, finely once the demand is near
// the target (a failed trial, NaN, takes the fine step too); done without a bracket past lnRMax.
void LargestStrengthSearch::nextUp() {
  const bool near = !(lastMu_ < settings_.nearTarget);
  const double step = near ? settings_.lnFineStep : settings_.lnStep;
  const double next = std::min(x_ + step, settings_.lnRMax);
  if (!(next > x_)) {
    phase_ = Phase::Done;
    return;
  }
  pending_ = next;
}

// The scan down from R = 1 (which reaches); done, with the strongest trial that reached kept,
// when every step reached.
void LargestStrengthSearch::nextDown() {
  if (!(n_ <= steps_)) {
    phase_ = Phase::Done;
    return;
  }
  pending_ = -n_ * settings_.lnStep;
}

// Halving of the bracket until it is at most lnTolerance wide.
void LargestStrengthSearch::nextBisection() {
  phase_ = Phase::Bisect;
  if (!(hi_ - lo_ > settings_.lnTolerance)) {
    phase_ = Phase::Done;
    return;
  }
  const double mid = lo_ + 0.5 * (hi_ - lo_);
  if (!(mid > lo_ && mid < hi_)) {
    phase_ = Phase::Done;
    return;
  }
  pending_ = mid;
}

void LargestStrengthSearch::record(bool converged, double umax) {
  const bool reaches = reached(converged, umax);
  switch (phase_) {
    case Phase::First:
      x_ = 0.0;
      if (reaches) {
        phase_ = Phase::Down;
        steps_ = std::ceil(settings_.lnRMax / settings_.lnStep);
        n_ = 1.0;
        nextDown();
      } else {
        phase_ = Phase::Up;
        nextUp();
      }
      return;
    case Phase::Up:
      if (reaches) {
        lo_ = x_, hi_ = pending_;
        nextBisection();
      } else {
        x_ = pending_;
        nextUp();
      }
      return;
    case Phase::Down:
      if (!reaches) {
        lo_ = pending_, hi_ = x_;
        nextBisection();
      } else {
        x_ = pending_;
        n_ = n_ + 1.0;
        nextDown();
      }
      return;
    case Phase::Bisect:
      if (reaches)
        hi_ = pending_;
      else
        lo_ = pending_;
      nextBisection();
      return;
    case Phase::Done: return;
  }
}

SearchOutcome searchLargestStrength(const TrialHistories& h, const UnitMassOscillator& o,
                                    double elasticForce, double target,
                                    const SearchSettings& settings) {
  LargestStrengthSearch search(o.k, elasticForce, target, settings);
  while (!search.done()) {
    const double fy = search.trialStrength();
    const bool converged =
        morbane::newmarkVar(h.u, h.v, h.a, h.fs, o.ag, o.nAg, o.nTH, o.dt, kUnitMass, o.zeta, o.k,
                            fy, o.kin, o.iso, kBeta, kGamma, "Morbane") == 0 &&
        allFinite(h.u, o.nTH);
    search.record(converged, converged ? core::peakAbs(h.u, o.nTH) : 0.0);
  }
  return search.outcome();
}

}  // namespace measures
