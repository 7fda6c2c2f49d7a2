// The largest yield strength of one inelastic oscillator whose ductility demand reaches a target.
#pragma once

#include <cstdint>

namespace measures {

// One oscillator at unit mass (k = ω² [1/s²], strengths in force per unit mass), analysed over
// nTH samples of the record exactly as Morbane's driver analyses it, apart from its yield strength.
struct UnitMassOscillator {
  const double* ag;
  std::int32_t nAg;
  std::int32_t nTH;
  double dt, zeta, k, kin, iso;
};

// Scratch histories of one worker, at least nTH samples each.
struct TrialHistories {
  double* u;
  double* v;
  double* a;
  double* fs;
};

// The scan and the bisection, on x = ln R: the scan steps from x = 0 (R = 1) up to lnRMax (it
// ends exactly there), by lnStep while the last trial's ductility is below nearTarget and by
// lnFineStep otherwise; bisection stops when the bracket is at most lnTolerance wide.
struct SearchSettings {
  double lnStep;
  double lnFineStep;
  double nearTarget;
  double lnRMax;
  double lnTolerance;
};

// What one search found. `found`: fy (per unit mass), its peak displacement umax and ductility mu
// come from a converged trial with mu ≥ target. Otherwise largestMu is the largest ductility of
// the converged trials (NaN when none converged).
struct SearchOutcome {
  bool found = false;
  double fy = 0.0;
  double umax = 0.0;
  double mu = 0.0;
  double largestMu = 0.0;
  std::int32_t trials = 0;
  std::int32_t failedTrials = 0;
};

// The search of searchLargestStrength one trial at a time, so that trials can also run side by
// side with other oscillators' (the trial analyses are the caller's).
class LargestStrengthSearch {
 public:
  LargestStrengthSearch(double k, double elasticForce, double target,
                        const SearchSettings& settings);

  bool done() const { return phase_ == Phase::Done; }
  // The yield strength of the next trial, elasticForce / e^x (while not done).
  double trialStrength() const;
  // The outcome of that trial: whether it converged with a finite displacement history, and then
  // its peak displacement. Chooses the next trial, or ends the search.
  void record(bool converged, double umax);
  const SearchOutcome& outcome() const { return outcome_; }

 private:
  enum class Phase { First, Up, Down, Bisect, Done };
  bool reached(bool converged, double umax);
  void nextUp();
  void nextDown();
  void nextBisection();

  double k_, elasticForce_, target_;
  SearchSettings settings_;
  SearchOutcome outcome_;
  Phase phase_ = Phase::First;
  double pending_ = 0.0;          // x = ln R of the next trial
  double lastMu_ = 0.0;           // ductility of the last trial; NaN when it failed
  double x_ = 0.0;                // the scan's last point
  double n_ = 1.0, steps_ = 0.0;  // the downward scan's step and its number of steps
  double lo_ = 0.0, hi_ = 0.0;    // the bracket: lo does not reach the target, hi does
};

// Largest yield strength fy = elasticForce / R whose ductility demand μ = umax / (fy / k) reaches
// `target`, i.e. the smallest R with μ(R) ≥ target.
//
// Method: every trial is morbane::newmarkVar (average acceleration, β = 1/4, γ = 1/2) at unit
// mass. A trial that does not converge, or whose displacement history holds a value that is not
// finite, counts as failed and as not reaching the target. The scan tries R = 1
// and steps up in ln R until a trial reaches the target, which brackets the first crossing from
// below between the last two trials; when R = 1 already reaches it (only for targets near 1, where
// the average-acceleration peak may exceed the exact elastic one), the scan steps down instead by
// lnStep, over at most as many steps as up to lnRMax. Bisection on ln R then keeps a trial that
// reaches the target at the weak end, so the result is always an analysed strength with μ ≥ target,
// at most a factor e^lnTolerance below the crossing. A crossing and return that both fall between
// two scan steps is not seen; a failed trial is followed by a fine step.
SearchOutcome searchLargestStrength(const TrialHistories& h, const UnitMassOscillator& o,
                                    double elasticForce, double target,
                                    const SearchSettings& settings);

}  // namespace measures
