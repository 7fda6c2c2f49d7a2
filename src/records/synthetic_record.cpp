// Synthetic accelerogram: filtered, enveloped Gaussian noise from a portable generator.
#include "records/synthetic_record.h"

#include <cmath>

namespace records {

namespace {

// splitmix64: small, portable and identical everywhere, unlike the standard distributions.
std::uint64_t nextRandom(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

double uniform(std::uint64_t& state) {
  return (static_cast<double>(nextRandom(state) >> 11) + 0.5) * 0x1.0p-53;
}

// Standard normal deviate by the Box-Muller transform.
double gaussian(std::uint64_t& state) {
  const double r = std::sqrt(-2.0 * std::log(uniform(state)));
  return r * std::cos(2.0 * M_PI * uniform(state));
}

double envelope(double t, double duration) {
  const double rise = std::fmin(2.0, 0.1 * duration);
  const double strongEnd = 0.3 * duration;
  if (t < rise) return (t / rise) * (t / rise);
  if (t < strongEnd) return 1.0;
  return std::exp(-3.0 * (t - strongEnd) / (duration - strongEnd));
}

}  // namespace

std::vector<double> syntheticRecord(std::int32_t n, double dt, std::uint64_t seed, double peak) {
  std::vector<double> ag(n > 0 ? static_cast<std::size_t>(n) : 0, 0.0);
  if (ag.empty()) return ag;
  const double omegaG = 5.0 * M_PI;
  const double zetaG = 0.6;
  const double duration = n * dt;
  std::uint64_t state = seed;
  // Filter state: x'' + 2ζg ωg x' + ωg² x = −w(t); the ground acceleration is
  // −(2ζg ωg x' + ωg² x), the absolute acceleration of the filter mass. Semi-implicit Euler with
  // ten sub-steps per sample keeps the filter stable for any practical dt.
  double x = 0.0, v = 0.0;
  const int sub = 10;
  const double h = dt / sub;
  double largest = 0.0;
  for (std::int32_t i = 0; i < n; ++i) {
    const double w = gaussian(state) / std::sqrt(dt);
    for (int s = 0; s < sub; ++s) {
      v += h * (-w - 2.0 * zetaG * omegaG * v - omegaG * omegaG * x);
      x += h * v;
    }
    ag[i] = -(2.0 * zetaG * omegaG * v + omegaG * omegaG * x) * envelope(i * dt, duration);
    largest = std::fmax(largest, std::fabs(ag[i]));
  }
  if (largest > 0.0)
    for (double& value : ag) value *= peak / largest;
  return ag;
}

}  // namespace records
