// Morbane's search for the yield force that gives a target ductility, one trial analysis at a
// time, so that trials can be run one after the other or side by side with other oscillators'.
#pragma once

#include <cstdint>

namespace morbane {

// Peak displacement of the most recent converged ductility trial, carried from oscillator to
// oscillator in the order of the outputs: a failed trial reuses it. Not known to an oscillator
// analysed ahead of its predecessors until one of its own trials converges.
struct Carry {
  double umax;
  bool known;
};

// What a trial's outcome leads to.
enum class SearchStep {
  Trial,       // another trial, at trialStrength()
  Settled,     // the yield force is strength()
  Failed,      // not settled within 25 trials, the warning printed
  NeedsCarry,  // a trial failed before the carried peak was known
};

// Fixed-point search on x = ln(fy): fy ← k·umax(fy)/mu from x = 1 until ln(fy) moves by at most
// 0.001, within 25 trials, for the oscillator of stiffness k and circular frequency omega.
class DuctilitySearch {
 public:
  DuctilitySearch(double mu, double k, double omega) : mu_(mu), k_(k), omega_(omega) {}

  // The yield force of the next trial, e^x.
  double trialStrength() const;

  // The outcome of the trial at trialStrength(): converged with peak displacement peak, or not.
  // A converged trial becomes the carry; a failed one takes the carried peak. Prints the warning
  // "??? Morbane::getSpectra - failed to converge: mu = …" when the search fails.
  SearchStep record(bool converged, double peak, Carry& carry);

  // The yield force found, once settled.
  double strength() const { return fy_; }

 private:
  double mu_, k_, omega_;
  double x_ = 1.0;
  std::int32_t n_ = 0;
  double fy_ = 0.0;
};

}  // namespace morbane
