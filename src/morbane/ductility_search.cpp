// Morbane's ductility search, one trial at a time.
#include "morbane/ductility_search.h"

#include <cmath>

#include "core/runtime/console.h"

namespace morbane {

namespace {

constexpr double kSearchTolerance = 0.001;  // on the change of ln(fy) between trials
constexpr std::int32_t kSearchLimit = 25;   // a search must settle within 25 trials

}  // namespace

double DuctilitySearch::trialStrength() const { return std::exp(x_); }

SearchStep DuctilitySearch::record(bool converged, double peak, Carry& carry) {
  if (converged)
    carry = {peak, true};
  else if (!carry.known)
    return SearchStep::NeedsCarry;
  const double umax = carry.umax;
  const double y = std::log((k_ * umax) / mu_);
  n_ = n_ + 1;
  if (std::fabs(y - x_) > kSearchTolerance && n_ <= kSearchLimit) {
    x_ = y;
    return SearchStep::Trial;
  }
  if (n_ > kSearchLimit) {
    core::warn("??? Morbane::getSpectra - failed to converge: mu = %f\n",
               ((umax / std::exp(x_)) * omega_) * omega_);
    return SearchStep::Failed;
  }
  fy_ = std::exp(y);
  return SearchStep::Settled;
}

}  // namespace morbane
