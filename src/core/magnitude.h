// Magnitude of a horizontal vector for the two-component modules.
#pragma once

#include <cstdint>

namespace core {

// √(x² + y²) with each square formed by the power function pow(·, 2.0), not by a product: the
// two differ in the last bit for a small share of inputs and the results must be reproducible.
// Kept out of line in a unit compiled with -fno-builtin-pow so no compiler turns it into x·x.
double magnitude(double x, double y);

// The square of x by the power function, for tests that check it is really called.
double powerSquare(double x);

// x raised to y by the library power function, never rewritten as products (the tangents of the
// two-component isolators cube a resultant force this way).
double power(double x, double y);

// Largest magnitude of (x[s], y[s]) over s = 0 .. n − 1, starting from 0 (strict comparisons).
double peakMagnitude(const double* x, const double* y, std::int32_t n);

}  // namespace core
