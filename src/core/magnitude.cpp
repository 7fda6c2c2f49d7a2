// Vector magnitudes through the library power function. This unit is compiled with
// -fno-builtin-pow; the volatile exponent keeps other builds (the mex script) from folding too.
#include "core/magnitude.h"

#include <cmath>

namespace core {

namespace {

volatile double kSquareExponent = 2.0;

}  // namespace

double powerSquare(double x) { return std::pow(x, kSquareExponent); }

double power(double x, double y) { return std::pow(x, y); }

double magnitude(double x, double y) { return std::sqrt(powerSquare(x) + powerSquare(y)); }

double peakMagnitude(const double* x, const double* y, std::int32_t n) {
  double peak = 0.0;
  for (std::int32_t s = 0; s < n; ++s) {
    const double candidate = magnitude(x[s], y[s]);
    if (candidate > peak) peak = candidate;
  }
  return peak;
}

}  // namespace core
