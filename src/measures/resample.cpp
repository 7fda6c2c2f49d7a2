// Band-limited interpolation by an integer factor through the FFT, one inverse transform per
// sub-sample phase, and the choice of factor and pairing of components built on it.
#include "measures/resample.h"

#include <cmath>
#include <complex>
#include <sstream>
#include <stdexcept>
#include <string>

#include <unsupported/Eigen/FFT>

namespace measures {

namespace {

using Complex = std::complex<double>;

constexpr int kLargestFactor = 1000;

std::string number(double x) {
  std::ostringstream text;
  text << x;
  return text.str();
}

bool onlyFactors235(std::size_t n) {
  for (std::size_t p : {2, 3, 5})
    while (n % p == 0) n /= p;
  return n == 1;
}

// Sub-sample phase r of L (0 < r < L) of the interpolated record: the spectrum X of the padded
// record (N/2 + 1 bins) shifted by r/L of a step, X[m]·e^(2πi·m·r/(N·L)), the Nyquist bin taking
// the two halves X[N/2]/2·e^(±iπr/L) together as X[N/2]·cos(πr/L); the inverse transform, scaled
// by 1/N, gives the record at times (k + r/L)·dt.
void subsamplePhase(Eigen::FFT<double>& fft, const std::vector<Complex>& spectrum, int r,
                    int factor, std::vector<Complex>& shifted, std::vector<double>& times) {
  const std::size_t half = spectrum.size() - 1;
  const std::size_t length = 2 * half;
  const double pi = std::acos(-1.0);
  // m·r < N·L/2, so the phase angle stays below π and needs no reduction.
  const double radiansPerUnit = pi / (static_cast<double>(half) * static_cast<double>(factor));
  for (std::size_t m = 0; m < half; ++m) {
    const double angle = radiansPerUnit * static_cast<double>(m * static_cast<std::size_t>(r));
    shifted[m] = spectrum[m] * Complex(std::cos(angle), std::sin(angle));
  }
  shifted[half] = Complex(spectrum[half].real() * std::cos(pi * r / factor), 0.0);
  fft.inv(times.data(), shifted.data(), static_cast<Eigen::Index>(length));
}

}  // namespace

std::size_t fastTransformLength(std::size_t n) {
  std::size_t length = n < 4 ? 4 : (n + 3) / 4 * 4;
  while (!onlyFactors235(length)) length += 4;
  return length;
}

std::vector<double> resample(const std::vector<double>& record, int factor) {
  if (factor < 1)
    throw std::invalid_argument("the resampling factor " + std::to_string(factor) +
                                " must be a whole number of at least 1");
  const std::size_t n = record.size();
  if (factor == 1 || n < 2) return record;

  // A multiple of 4 takes kissfft's real-transform path; at least 2n keeps the wrap-around away.
  const std::size_t length = fastTransformLength(2 * n);
  std::vector<double> padded(length, 0.0);
  std::copy(record.begin(), record.end(), padded.begin());

  Eigen::FFT<double> fft;
  fft.SetFlag(Eigen::FFT<double>::HalfSpectrum);
  fft.SetFlag(Eigen::FFT<double>::Unscaled);
  std::vector<Complex> spectrum(length / 2 + 1);
  fft.fwd(spectrum.data(), padded.data(), static_cast<Eigen::Index>(length));

  const std::size_t L = static_cast<std::size_t>(factor);
  std::vector<double> fine((n - 1) * L + 1);
  for (std::size_t k = 0; k < n; ++k) fine[k * L] = record[k];
  std::vector<Complex> shifted(spectrum.size());
  std::vector<double> times(length);
  const double scale = static_cast<double>(length);
  for (int r = 1; r < factor; ++r) {
    subsamplePhase(fft, spectrum, r, factor, shifted, times);
    for (std::size_t k = 0; k + 1 < n; ++k) fine[k * L + static_cast<std::size_t>(r)] = times[k] / scale;
  }
  return fine;
}

int resampleFactor(double dt, double shortestPeriod) {
  if (!(dt > 0.0) || !std::isfinite(dt))
    throw std::invalid_argument("resampling: the time step dt = " + number(dt) +
                                " s must be a positive number");
  if (!(shortestPeriod > 0.0) || !std::isfinite(shortestPeriod))
    throw std::invalid_argument("resampling: the shortest period T = " + number(shortestPeriod) +
                                " s must be a positive number");
  const double target = shortestPeriod / 10.0;
  const double wanted = std::ceil(dt / target);
  if (!(wanted <= kLargestFactor))
    throw std::invalid_argument("resampling dt = " + number(dt) + " s for T = " +
                                number(shortestPeriod) + " s would need a factor above " +
                                std::to_string(kLargestFactor) +
                                "; start from a finer record or a longer shortest period");
  int factor = static_cast<int>(std::max(wanted, 1.0));
  // Settle the rounding of the quotient on the condition itself.
  while (factor > 1 && dt / (factor - 1) <= target) --factor;
  while (dt / factor > target) ++factor;
  return factor;
}

ComponentPair pairComponents(const std::vector<double>& ag1, double dt1,
                             const std::vector<double>& ag2, double dt2) {
  for (double dt : {dt1, dt2})
    if (!(dt > 0.0) || !std::isfinite(dt))
      throw std::invalid_argument("pairing components: the time step dt = " + number(dt) +
                                  " s must be a positive number");
  ComponentPair pair;
  if (std::fabs(dt1 - dt2) <= 1e-9 * std::max(dt1, dt2)) {
    pair.ag1 = ag1;
    pair.ag2 = ag2;
    pair.dt = dt1;
    return pair;
  }
  const bool firstCoarser = dt1 > dt2;
  const double ratio = firstCoarser ? dt1 / dt2 : dt2 / dt1;
  const double whole = std::round(ratio);
  if (std::fabs(ratio - whole) > 1e-6 * ratio || whole > kLargestFactor)
    throw std::invalid_argument(
        "the two components are sampled at different time steps, dt = " + number(dt1) +
        " s and " + number(dt2) +
        " s, and neither is a whole multiple of the other: resample one of them to the other's "
        "step before pairing them");
  const int factor = static_cast<int>(whole);
  pair.ag1 = firstCoarser ? resample(ag1, factor) : ag1;
  pair.ag2 = firstCoarser ? ag2 : resample(ag2, factor);
  pair.factor1 = firstCoarser ? factor : 1;
  pair.factor2 = firstCoarser ? 1 : factor;
  pair.dt = std::min(dt1, dt2);
  return pair;
}

}  // namespace measures
