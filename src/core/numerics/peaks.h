// Peak search over the time histories of one analysis. Every update is a strict greater-than
// test, so a sample that is not a number never becomes a peak.
#pragma once

#include <cstdint>

namespace core {

// The peaks of one oscillator, updated in place from the values already there (zero).
struct PeakOutputs {
  double* dsp;
  double* vel;
  double* acc;
  double* totAcc;
  double* rFrc;
};

// Peaks of |u|, |v|, |a|, |a + ag| (|a| after the record) and |fs| over samples 0 .. nTH − 1.
void updatePeaks(const double* u, const double* v, const double* a, const double* fs,
                 const double* ag, std::int32_t nAg, std::int32_t nTH, const PeakOutputs& out);

// Largest |x[s]| over s = 0 .. n − 1, starting from 0.
double peakAbs(const double* x, std::int32_t n);

// Peak of |x| over a record, the peak ground acceleration.
inline double peakGroundAcceleration(const double* ag, std::int32_t nAg) {
  return peakAbs(ag, nAg);
}

}  // namespace core
