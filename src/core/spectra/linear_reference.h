// The linear reference analyses of the nonlinear drivers: a linear oscillator of stiffness k and
// damping ratio zeta under the record (exact recurrence), and its peak displacement and force.
#pragma once

#include <cstdint>

#include "core/numerics/magnitude.h"
#include "core/numerics/peaks.h"
#include "core/numerics/recform.h"
#include "core/spectra/histories.h"

namespace core {

struct LinearPeaks {
  double uMax, fMax;
};

// The linear reference systems of one pair (stiffness and damping ratio), the second one only
// where the module has an equivalent linear system.
struct ReferenceSystems {
  double kElastic, zetaElastic;
  bool effective;
  double kEffective, zetaEffective;
};

// One component over h.n samples.
inline LinearPeaks linearPeaks(const Histories& h, const double* ag, std::int32_t nAg, double dt,
                               double m, double zeta, double k) {
  recform(h.u, h.v, h.a, h.fs, ag, nAg, h.n, dt, m, zeta, k);
  return {peakAbs(h.u, h.n), peakAbs(h.fs, h.n)};
}

// Two components integrated independently (in a linear system they superpose into the planar
// response), peaks taken on the resultants.
inline LinearPeaks linearPeaks2(const Histories2& h, const double* ag1, const double* ag2,
                                std::int32_t nAg, double dt, double m, double zeta, double k) {
  const Histories& a = h.c1;
  const Histories& b = h.c2;
  recform(a.u, a.v, a.a, a.fs, ag1, nAg, a.n, dt, m, zeta, k);
  recform(b.u, b.v, b.a, b.fs, ag2, nAg, b.n, dt, m, zeta, k);
  return {peakMagnitude(a.u, b.u, a.n), peakMagnitude(a.fs, b.fs, a.n)};
}

}  // namespace core
