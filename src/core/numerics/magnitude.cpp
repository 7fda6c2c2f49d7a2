// Vector magnitudes through the library power function. This unit is compiled with
// -fno-builtin-pow; the volatile exponent keeps other builds (the mex script) from folding too.
#include "core/numerics/magnitude.h"

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
  for (std::int32_t s = 0; s < n; ++s) raiseMagnitude(peak, x[s], y[s]);
  return peak;
}

void updateResultantPeaks(const ResultantHistories& h, const double* ag1, const double* ag2,
                          std::int32_t nAg, std::int32_t nTH, const ResultantPeaks& out) {
  double dsp = *out.dsp, vel = *out.vel, acc = *out.acc, totAcc = *out.totAcc, rFrc = *out.rFrc;
  for (std::int32_t s = 0; s < nTH; ++s) {
    raiseMagnitude(dsp, h.u1[s], h.u2[s]);
    raiseMagnitude(vel, h.v1[s], h.v2[s]);
    raiseMagnitude(acc, h.a1[s], h.a2[s]);
    if (s < nAg)
      raiseMagnitude(totAcc, h.a1[s] + ag1[s], h.a2[s] + ag2[s]);
    else
      raiseMagnitude(totAcc, h.a1[s], h.a2[s]);
    raiseMagnitude(rFrc, h.fs1[s], h.fs2[s]);
  }
  *out.dsp = dsp;
  *out.vel = vel;
  *out.acc = acc;
  *out.totAcc = totAcc;
  *out.rFrc = rFrc;
}

}  // namespace core
