// The rotation angles of RotD, the peaks of the rotated response at every angle, and the
// percentile rule over the angle set.
#pragma once

#include <cstdint>
#include <vector>

namespace measures {

// Rotation angles θ_k = k·step [°] for k = 0, 1, … while θ_k < 180° (180° itself repeats 0°), with
// their cosines and sines in contiguous arrays for the vector kernel. cos and sin are exact at 0°
// and 90°, so those two angles give the as-recorded components bit for bit.
struct AngleSet {
  std::vector<double> degrees;
  std::vector<double> cosines;
  std::vector<double> sines;

  std::int32_t size() const { return static_cast<std::int32_t>(degrees.size()); }
};

// The angles of a step in degrees; the caller has checked 0 < step ≤ 90.
AngleSet rotationAngles(double stepDegrees);

// Peaks of the rotated displacement: for every angle k,
//   peaks[k] = max over s = 0 … n − 1 of |u1[s]·cos θ_k + u2[s]·sin θ_k|,
// formed in exactly this order (two products, then their sum), starting from 0 with strict
// greater-than updates, so a sample that is not a number never becomes a peak. The angles are the
// inner, vectorised loop; several samples are taken per pass over the angles, and a run of samples
// whose bound |u1| + |u2| (enlarged to cover the rounding of the projection) cannot beat the
// smallest peak so far is skipped, which changes no result. Uses the widest vector unit
// core::vectorUnit() allows; every unit gives the same bits.
void rotatedPeaks(const double* u1, const double* u2, std::int32_t n, const AngleSet& angles,
                  double* peaks);

// The p-th percentile (0 ≤ p ≤ 100) of n ≥ 1 values sorted ascending, by linear interpolation
// between order statistics at rank r = p/100·(n − 1): with i = ⌊r⌋ and f = r − i, the value is
// sorted[i] + f·(sorted[i + 1] − sorted[i]) (sorted[i] when f = 0). p = 0 gives the smallest
// value, p = 100 the largest, and p = 50 the median (the mean of the two middle values when n is
// even).
double percentileOfSorted(const double* sorted, std::int32_t n, double p);

}  // namespace measures
