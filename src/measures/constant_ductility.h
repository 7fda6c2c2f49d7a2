// Constant-ductility inelastic spectra by the largest-strength rule, beside Morbane's own search.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace measures {

// The oscillators of one spectrum: every period with every damping ratio.
struct DuctilityOscillators {
  std::vector<double> periods;        // T [s], each > 0
  std::vector<double> dampingRatios;  // ζ, each 0 ≤ ζ < 1
  double mass = 1.0;                  // > 0; scales the strengths and nothing else
  double kin = 0.0;                   // kinematic hardening ratio (of the elastic stiffness)
  double iso = 0.0;                   // isotropic hardening ratio
};

// How the strength reduction factor R = F_el / fy is searched (see constantDuctilitySpectrum).
struct DuctilitySearch {
  double scanFactor = 1.1;       // > 1: ratio of successive R while μ < nearFraction × target
  double fineScanFactor = 1.02;  // > 1: ratio of successive R once μ is that near the target
  double nearFraction = 0.8;     // 0 … 1
  double rMax = 100.0;           // ≥ 1: the largest R tried
  double tolerance = 1e-3;       // > 0: width of the final bracket on ln R
};

enum class DuctilityStatus {
  Reached,       // a yield strength reaches the target ductility
  NotReached,    // no R up to rMax reaches it
  TrialsFailed,  // no trial converged
};

// One oscillator of the spectrum. Without a solution every value is NaN and largestDuctility is
// the largest ductility any converged trial reached (NaN when none converged).
struct DuctilityPoint {
  double yieldStrength;      // fy [force: mass × acceleration unit of the record]
  double reductionFactor;    // R = F_el / fy
  double yieldDisplacement;  // u_y = fy / k [displacement unit of the record]
  double ductility;          // μ = u_max / u_y reached, ≥ the target
  double peakDisplacement;   // u_max of the inelastic analysis at fy
  double elasticForce;       // F_el, peak elastic restoring force (exact recurrence)
  double largestDuctility;
  DuctilityStatus status;
  std::int32_t trials;        // analyses run by the search
  std::int32_t failedTrials;  // of which did not converge
};

struct ConstantDuctilitySpectrum {
  std::int32_t periodCount = 0;
  std::int32_t dampingCount = 0;
  std::vector<DuctilityPoint> points;  // period i, damping ratio j at i + j · periodCount
  // One line (no newline) per oscillator without a solution, in period order and, within a
  // period, in damping order, e.g. "T = 0.35 s, ζ = 5 %: no yield strength reaches μ = 4 for R
  // up to 100 (largest reached 3.2); left empty"; also one for a solution whose ductility leaps
  // beyond 1.1 × the target within the tolerance (a collapse under negative hardening).
  std::vector<std::string> warnings;

  const DuctilityPoint& at(std::int32_t period, std::int32_t damping) const {
    return points[static_cast<std::size_t>(period + damping * periodCount)];
  }
};

// Constant-ductility spectrum of the record ag (accelerations at step dt [s]) for the target
// ductility μ ≥ 1: for each period and damping ratio the LARGEST yield strength fy whose ductility
// demand μ(fy) = u_max / u_y, u_y = fy / k, reaches the target (the textbook convention, Chopra,
// Dynamics of Structures, §7.5: where several strengths give the target ductility, the largest).
//
// Each trial is exactly Morbane's analysis for the strength fy (keyword "fy"): morbane::newmarkVar
// with β = 1/4, γ = 1/2, the hardening ratios kin and iso, the same sub-stepping, and the history
// length of Morbane's driver for the same periods and damping ratios (record plus the free-
// vibration tail, within the capacity set by the first damping ratio and the last period). F_el
// is the peak restoring force of the exact-recurrence elastic analysis over the same length, as in
// Morbane's RFact.
//
// Mass: every trial runs at unit mass (k = ω², ω = 2π / T, strengths per unit mass) and the
// strengths are multiplied by the mass at the end, so R, μ, u_y and u_max are the same bits for any
// mass and fy scales exactly. Morbane's integrator has absolute convergence tolerances, which is
// why the module's own ductility search depends on the mass. At unit mass each point here is what
// Morbane(ag, dt, 1, ζ, T, kin, iso, 'fy', fy) with the same periods and damping ratios gives, bit
// for bit.
//
// Search (per oscillator): R = 1, then R stepped up until a trial reaches the target (the first
// crossing from below, i.e. the largest strength), by scanFactor (10 %) while the last trial's
// ductility is below nearFraction × target and by fineScanFactor (2 %) from there on; then
// bisection on ln R until the bracket is at most `tolerance` wide. The returned fy is the weak end
// of that bracket, an analysed strength with μ ≥ target lying at most a factor e^tolerance (0.1 %
// by default) below the crossing. A stretch of R where μ rises above the target and falls back
// that lies within one scan step is not seen: near the target, where μ(R) of real records has such
// stretches 1–4 % wide that touch the target by a few tenths of a percent, the fine step sees those
// wider than 2 %. If R = 1 already reaches the target (targets near 1: the average-acceleration
// peak can exceed the exact elastic one) the scan steps down instead and R < 1 results.
//
// Failures: a trial whose integration does not converge, or whose displacement history is not
// finite throughout (the integrator lets a NaN through), counts as not reaching the target, so
// every returned strength is a converged analysis; the integrator's own warnings of such trials
// are not printed, they are counted in failedTrials. An oscillator that no R ≤ rMax brings to the
// target gets NaN, its status and a warning; the other oscillators are still returned.
//
// Periods are spread over core::threadCount() threads, and the trials of several oscillators run
// side by side in vector lanes (one at a time under SPECTRA_PATH=straightforward); results and
// warnings are identical for any thread count, vector unit and path. Throws std::invalid_argument, with a message naming the value, for inputs outside
// the stated ranges, a non-finite or all-zero record, or a non-positive or non-finite dt; and
// std::bad_alloc when not even one set of histories fits in memory.
ConstantDuctilitySpectrum constantDuctilitySpectrum(const std::vector<double>& ag, double dt,
                                                    const DuctilityOscillators& oscillators,
                                                    double ductility,
                                                    const DuctilitySearch& search = {});

}  // namespace measures
