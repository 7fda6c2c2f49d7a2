// Peaks of the rotated displacement over all angles at once: samples outer, angles inner, so the
// angle loop runs over contiguous arrays in the lanes of the vector unit.
#include "measures/rotd_angles.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/runtime/execution.h"

#define SPECTRA_INLINE inline __attribute__((always_inline))

namespace measures {

namespace {

// Samples per skip test: long enough to pay for recomputing the smallest peak, short enough to
// skip most of the quiet samples.
constexpr std::int32_t kRun = 16;

// |u1·c + u2·s| as formed in floating point never exceeds (|u1| + |u2|)·(1 + 2ε)/(1 − ε) when
// |c|, |s| ≤ 1, plus the absolute error of products that underflow; kRelative and kAbsolute
// cover that with room to spare, so a skipped sample could not have raised any peak.
constexpr double kEpsilon = std::numeric_limits<double>::epsilon();
constexpr double kRelative = 1.0 + 8.0 * kEpsilon;
constexpr double kAbsolute = 4.0 * std::numeric_limits<double>::denorm_min();

SPECTRA_INLINE double raised(double peak, double candidate) {
  return candidate > peak ? candidate : peak;
}

// Takes samples first … last − 1 into the peaks, four per pass over the angles.
SPECTRA_INLINE void takeSamples(const double* __restrict u1, const double* __restrict u2,
                                std::int32_t first, std::int32_t last,
                                const double* __restrict c, const double* __restrict s,
                                std::int32_t nAngles, double* __restrict peaks) {
  std::int32_t t = first;
  for (; t + 4 <= last; t += 4) {
    const double x0 = u1[t], x1 = u1[t + 1], x2 = u1[t + 2], x3 = u1[t + 3];
    const double y0 = u2[t], y1 = u2[t + 1], y2 = u2[t + 2], y3 = u2[t + 3];
    for (std::int32_t k = 0; k < nAngles; ++k) {
      double peak = peaks[k];
      peak = raised(peak, std::fabs(x0 * c[k] + y0 * s[k]));
      peak = raised(peak, std::fabs(x1 * c[k] + y1 * s[k]));
      peak = raised(peak, std::fabs(x2 * c[k] + y2 * s[k]));
      peak = raised(peak, std::fabs(x3 * c[k] + y3 * s[k]));
      peaks[k] = peak;
    }
  }
  for (; t < last; ++t) {
    const double x = u1[t], y = u2[t];
    for (std::int32_t k = 0; k < nAngles; ++k)
      peaks[k] = raised(peaks[k], std::fabs(x * c[k] + y * s[k]));
  }
}

// The largest |u1| + |u2| of a run of samples; NaN when a sample is NaN, so that run is taken.
SPECTRA_INLINE double runBound(const double* u1, const double* u2, std::int32_t first,
                               std::int32_t last) {
  double bound = 0.0;
  for (std::int32_t t = first; t < last; ++t) {
    const double b = std::fabs(u1[t]) + std::fabs(u2[t]);
    if (!(b <= bound)) bound = b;
  }
  return bound;
}

SPECTRA_INLINE double smallestPeak(const double* peaks, std::int32_t nAngles) {
  double smallest = peaks[0];
  for (std::int32_t k = 1; k < nAngles; ++k) smallest = std::min(smallest, peaks[k]);
  return smallest;
}

SPECTRA_INLINE void peaksOverRuns(const double* u1, const double* u2, std::int32_t n,
                                  const AngleSet& angles, double* peaks) {
  const std::int32_t nAngles = angles.size();
  const double* c = angles.cosines.data();
  const double* s = angles.sines.data();
  std::fill(peaks, peaks + nAngles, 0.0);
  // Peaks only grow, so a smallest peak found earlier is still a valid lower bound.
  double smallest = 0.0;
  for (std::int32_t first = 0; first < n; first += kRun) {
    const std::int32_t last = std::min(first + kRun, n);
    if (runBound(u1, u2, first, last) * kRelative + kAbsolute < smallest) continue;
    takeSamples(u1, u2, first, last, c, s, nAngles, peaks);
    smallest = smallestPeak(peaks, nAngles);
  }
}

#if defined(__x86_64__)
__attribute__((target("avx512f,prefer-vector-width=512"))) void peaksAvx512(
    const double* u1, const double* u2, std::int32_t n, const AngleSet& angles, double* peaks) {
  peaksOverRuns(u1, u2, n, angles, peaks);
}

__attribute__((target("avx2"))) void peaksAvx2(const double* u1, const double* u2, std::int32_t n,
                                               const AngleSet& angles, double* peaks) {
  peaksOverRuns(u1, u2, n, angles, peaks);
}
#endif

void peaksSse2(const double* u1, const double* u2, std::int32_t n, const AngleSet& angles,
               double* peaks) {
  peaksOverRuns(u1, u2, n, angles, peaks);
}

__attribute__((optimize("no-tree-vectorize"))) void peaksScalar(const double* u1, const double* u2,
                                                                std::int32_t n,
                                                                const AngleSet& angles,
                                                                double* peaks) {
  peaksOverRuns(u1, u2, n, angles, peaks);
}

// cos and sin of an angle in degrees, exact at 0° and 90°.
void cosSinDegrees(double degrees, double* c, double* s) {
  if (degrees == 0.0) {
    *c = 1.0;
    *s = 0.0;
  } else if (degrees == 90.0) {
    *c = 0.0;
    *s = 1.0;
  } else {
    const double radians = degrees * (std::acos(-1.0) / 180.0);
    *c = std::cos(radians);
    *s = std::sin(radians);
  }
}

}  // namespace

AngleSet rotationAngles(double stepDegrees) {
  // The small allowance keeps a step that divides 180° from adding an angle a rounding below it.
  const double last = 180.0 - 1e-9 * stepDegrees;
  AngleSet angles;
  for (std::int64_t k = 0;; ++k) {
    const double degrees = static_cast<double>(k) * stepDegrees;
    if (k > 0 && degrees >= last) break;
    double c, s;
    cosSinDegrees(degrees, &c, &s);
    angles.degrees.push_back(degrees);
    angles.cosines.push_back(c);
    angles.sines.push_back(s);
  }
  return angles;
}

void rotatedPeaks(const double* u1, const double* u2, std::int32_t n, const AngleSet& angles,
                  double* peaks) {
  switch (core::vectorUnit()) {
#if defined(__x86_64__)
    case core::VectorUnit::AVX512:
      peaksAvx512(u1, u2, n, angles, peaks);
      return;
    case core::VectorUnit::AVX2:
      peaksAvx2(u1, u2, n, angles, peaks);
      return;
#endif
    case core::VectorUnit::SSE2:
      peaksSse2(u1, u2, n, angles, peaks);
      return;
    default:
      peaksScalar(u1, u2, n, angles, peaks);
  }
}

double percentileOfSorted(const double* sorted, std::int32_t n, double p) {
  const double rank = (p / 100.0) * static_cast<double>(n - 1);
  const double below = std::floor(rank);
  const std::int32_t i = static_cast<std::int32_t>(below);
  const double fraction = rank - below;
  if (fraction == 0.0 || i + 1 >= n) return sorted[std::min(i, n - 1)];
  return sorted[i] + fraction * (sorted[i + 1] - sorted[i]);
}

}  // namespace measures
