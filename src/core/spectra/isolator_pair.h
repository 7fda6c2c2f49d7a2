// What an isolator driver writes for one (period, swept value) pair after its nonlinear analysis,
// one analysis at a time on full histories: the peaks, the residual displacement, the values
// derived from them, the two linear reference analyses on the same histories and the factors to
// their peaks.
#pragma once

#include <cmath>
#include <cstdint>

#include "core/numerics/magnitude.h"
#include "core/numerics/peaks.h"
#include "core/spectra/derived.h"
#include "core/spectra/linear_reference.h"
#include "core/spectra/outputs.h"

namespace core {

// The record the linear reference analyses run under: samples, count, step and mass.
struct ReferenceRecord {
  const double* ag;
  std::int32_t count;
  double dt, m;
};
struct ReferenceRecord2 {
  const double* ag1;
  const double* ag2;
  std::int32_t count;
  double dt, m;
};

// The factors to the peaks of the elastic reference system, for the yield force already written.
inline void writeReferenceFactors(const SpectraOutputs& out, std::int32_t idx,
                                  const LinearPeaks& elastic) {
  writeFactors(out, idx, elastic.fMax, elastic.uMax, out.yieldFrc[idx]);
}

// The factors to the peaks of the elastic and the equivalent linear reference systems, for the
// yield force already written.
inline void writeReferenceFactors(const SpectraOutputs& out, std::int32_t idx,
                                  const LinearPeaks& elastic, const LinearPeaks& effective) {
  const double Fy = out.yieldFrc[idx];
  writeFactors(out, idx, elastic.fMax, elastic.uMax, Fy);
  writeEffectiveFactors(out, idx, effective.fMax, effective.uMax, Fy);
}

// One component. writeValues() writes the derived values from the peaks and returns the two
// reference systems.
template <class WriteValues>
void writeIsolatorPair(const SpectraOutputs& out, std::int32_t idx, const Histories& h,
                       const ReferenceRecord& r, WriteValues writeValues) {
  updatePeaks(h.u, h.v, h.a, h.fs, r.ag, r.count, h.n,
              {out.dsp + idx, out.vel + idx, out.acc + idx, out.totAcc + idx, out.rFrc + idx});
  out.resDsp[idx] = std::fabs(h.u[h.n - 1]);
  const ReferenceSystems s = writeValues();
  const LinearPeaks elastic = linearPeaks(h, r.ag, r.count, r.dt, r.m, s.zetaElastic, s.kElastic);
  const LinearPeaks effective =
      linearPeaks(h, r.ag, r.count, r.dt, r.m, s.zetaEffective, s.kEffective);
  writeReferenceFactors(out, idx, elastic, effective);
}

// Two components, every peak taken on the magnitude of the horizontal vector.
template <class WriteValues>
void writeIsolatorPair(const SpectraOutputs& out, std::int32_t idx, const Histories2& h,
                       const ReferenceRecord2& r, WriteValues writeValues) {
  const Histories& c1 = h.c1;
  const Histories& c2 = h.c2;
  updateResultantPeaks(
      {c1.u, c2.u, c1.v, c2.v, c1.a, c2.a, c1.fs, c2.fs}, r.ag1, r.ag2, r.count, c1.n,
      {out.dsp + idx, out.vel + idx, out.acc + idx, out.totAcc + idx, out.rFrc + idx});
  out.resDsp[idx] = magnitude(c1.u[c1.n - 1], c2.u[c2.n - 1]);
  const ReferenceSystems s = writeValues();
  const LinearPeaks elastic =
      linearPeaks2(h, r.ag1, r.ag2, r.count, r.dt, r.m, s.zetaElastic, s.kElastic);
  const LinearPeaks effective =
      linearPeaks2(h, r.ag1, r.ag2, r.count, r.dt, r.m, s.zetaEffective, s.kEffective);
  writeReferenceFactors(out, idx, elastic, effective);
}

}  // namespace core
