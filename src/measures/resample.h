// Band-limited resampling of a record to a finer time step, for accurate short-period spectra,
// and the pairing of two components recorded at different steps.
#pragma once

#include <cstddef>
#include <vector>

namespace measures {

// The record interpolated to the step dt/factor by ideal band-limited (frequency-domain)
// interpolation, sampled at the original times and factor − 1 times between each pair:
// (n − 1)·factor + 1 samples, output sample k·factor being input sample k exactly. Nothing is
// added after the last original sample.
//
// Method: the record, padded with zeros to a length N ≥ 2n that is a multiple of 4 with no prime
// factor but 2, 3 and 5, is transformed once (real FFT of Eigen's FFT module, kissfft backend,
// double precision). Zero-padding this spectrum to N·factor bins and transforming back is the
// textbook form; the same numbers come, without a transform of length N·factor, from one inverse
// transform of length N per sub-sample phase r = 1 … factor − 1 of the spectrum shifted by r/factor
// of a step, X[m]·e^(2πi·m·r/(N·factor)), scaled by 1/N. The Nyquist bin X[N/2] is split in equal
// halves between +N/2 and −N/2, which the shift turns into X[N/2]·cos(πr/factor): the result stays
// real and passes through the original samples. The transform treats the padded record as
// periodic; with N ≥ 2n the record's next copy lies at least n + 1 samples away from every output
// time, as far as the record's own farthest sample, so the wrapped-around terms are no larger
// than the record's own truncated interpolation tail, and nothing of the record's end leaks into
// its start. A factor of 1 returns the record unchanged, bit for bit, as does a record of fewer
// than two samples. Throws std::invalid_argument for a factor below 1.
std::vector<double> resample(const std::vector<double>& record, int factor);

// The smallest factor L ≥ 1 with dt/L ≤ shortestPeriod/10, so that the shortest oscillator
// period spans at least ten steps. Throws std::invalid_argument when dt or the period is not a
// positive number, or when the factor would exceed 1000.
int resampleFactor(double dt, double shortestPeriod);

// Two horizontal components brought to one time step.
struct ComponentPair {
  std::vector<double> ag1, ag2;
  double dt = 0.0;      // the common step [s]: the finer of the two
  int factor1 = 1;      // resampling factor applied to each component (1: unchanged)
  int factor2 = 1;
};

// When the steps are equal (to 1e-9 relative), both records are returned as they are with dt1.
// When the coarser step is a whole multiple L of the finer (to 1e-6 relative), the coarser
// component is resampled by L and the common step is the finer one. Otherwise throws
// std::invalid_argument naming both steps.
ComponentPair pairComponents(const std::vector<double>& ag1, double dt1,
                             const std::vector<double>& ag2, double dt2);

// The smallest even length ≥ n whose only prime factors are 2, 3 and 5 (fast for kissfft).
std::size_t fastTransformLength(std::size_t n);

}  // namespace measures
