// Strict-comparison peak search shared by the one-component drivers.
#include "core/numerics/peaks.h"

#include <cmath>

namespace core {

namespace {

inline void raise(double& peak, double candidate) {
  if (candidate > peak) peak = candidate;
}

}  // namespace

void updatePeaks(const double* u, const double* v, const double* a, const double* fs,
                 const double* ag, std::int32_t nAg, std::int32_t nTH, const PeakOutputs& out) {
  double dsp = *out.dsp, vel = *out.vel, acc = *out.acc, totAcc = *out.totAcc, rFrc = *out.rFrc;
  for (std::int32_t s = 0; s < nTH; ++s) {
    raise(dsp, std::fabs(u[s]));
    raise(vel, std::fabs(v[s]));
    raise(acc, std::fabs(a[s]));
    // After the record the ground is at rest: the total acceleration is the relative one.
    raise(totAcc, s < nAg ? std::fabs(a[s] + ag[s]) : std::fabs(a[s]));
    raise(rFrc, std::fabs(fs[s]));
  }
  *out.dsp = dsp;
  *out.vel = vel;
  *out.acc = acc;
  *out.totAcc = totAcc;
  *out.rFrc = rFrc;
}

double peakAbs(const double* x, std::int32_t n) {
  double peak = 0.0;
  for (std::int32_t s = 0; s < n; ++s) raise(peak, std::fabs(x[s]));
  return peak;
}

}  // namespace core
