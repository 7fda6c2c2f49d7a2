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

// Padding of the product estimate x·x + y·y of a squared magnitude, so that comparing estimates
// never rules out a magnitude that pow(·, 2.0) would make larger: a relative margin far beyond
// their difference (below one unit in the last place of each square) and an absolute one for
// squares in the subnormal range. Shared by every filter on the estimate.
constexpr double kEstimateRelativeMargin = 0x1.0p-40;
constexpr double kEstimateAbsoluteMargin = 1e-300;

// Raises peak to the magnitude of (x, y) when that is strictly greater (so NaN never becomes a
// peak). The magnitude is formed through the power function only when the padded estimate does
// not rule out a new peak; the result is exactly that of forming it for every sample. NaN,
// infinities and tiny values always take the exact path.
inline void raiseMagnitude(double& peak, double x, double y) {
  const double estimate = x * x + y * y;
  double bound = (peak * peak) * (1.0 - kEstimateRelativeMargin);
  if (!(bound < 1e300)) bound = 1e300;
  if (estimate * (1.0 + kEstimateRelativeMargin) + kEstimateAbsoluteMargin < bound) return;
  const double candidate = magnitude(x, y);
  if (candidate > peak) peak = candidate;
}

// Largest magnitude of (x[s], y[s]) over s = 0 .. n − 1, starting from 0 (strict comparisons).
double peakMagnitude(const double* x, const double* y, std::int32_t n);

// The peaks of one two-component analysis, updated in place from the values already there.
struct ResultantPeaks {
  double* dsp;
  double* vel;
  double* acc;
  double* totAcc;
  double* rFrc;
};

// The histories of both components of one analysis.
struct ResultantHistories {
  const double *u1, *u2, *v1, *v2, *a1, *a2, *fs1, *fs2;
};

// Peaks of the resultant displacement, velocity, relative and total acceleration and force over
// samples 0 .. nTH − 1; after the record the ground is at rest and the total acceleration is the
// relative one.
void updateResultantPeaks(const ResultantHistories& h, const double* ag1, const double* ag2,
                          std::int32_t nAg, std::int32_t nTH, const ResultantPeaks& out);

}  // namespace core
