// Vintarrow driver: per (period, strength) pair one coupled bearing analysis and two pairs of
// linear reference analyses, all peaks on resultants.
#include "vintarrow/driver.h"

#include <cmath>
#include <cstdint>

#include "core/runtime/console.h"
#include "core/runtime/ordered_items.h"
#include "core/numerics/magnitude.h"
#include "core/numerics/recform.h"
#include "core/runtime/scratch.h"
#include "vintarrow/newmark_var.h"

namespace vintarrow {

namespace {

// The eight scratch histories of a call.
struct Histories {
  double *u1, *u2, *v1, *v2, *a1, *a2, *fs1, *fs2;
};

// Peak resultant displacement and force of a linear reference analysis.
struct LinearPeaks {
  double uMax, fMax;
};

// The same linear oscillator under each component separately; in a linear system the two
// responses superpose into the planar one.
LinearPeaks linearRun(const Histories& h, const double* ag1, const double* ag2, std::int32_t nAg,
                      std::int32_t nTH, double dt, double m, double zeta, double k) {
  core::recform(h.u1, h.v1, h.a1, h.fs1, ag1, nAg, nTH, dt, m, zeta, k);
  core::recform(h.u2, h.v2, h.a2, h.fs2, ag2, nAg, nTH, dt, m, zeta, k);
  return LinearPeaks{core::peakMagnitude(h.u1, h.u2, nTH), core::peakMagnitude(h.fs1, h.fs2, nTH)};
}

}  // namespace

std::int32_t getSpectra(double* pga, double* f, double* dsp, double* vel, double* acc,
                        double* totAcc, double* psdVel, double* psdAcc, double* resDsp,
                        double* iFrc, double* dFrc, double* rFrc, double* yieldDsp,
                        double* psdYieldVel, double* psdYieldAcc, double* yieldFrc,
                        double* muFact, double* RFact, double* gammaFact, double* effT,
                        double* effZeta, double* effRFact, double* effGammaFact,
                        const double* ag1, const double* ag2, std::int32_t nAg, double dt,
                        const double* T, std::int32_t nT, double m, const double* Qd,
                        std::int32_t nQd, double alpha) {
  const double pi = std::acos(-1.0);
  const double twoPi = pi + pi;
  // Twice the record, counted in 64 bits; a length beyond a 32-bit count is refused.
  const std::int64_t length = 2 * static_cast<std::int64_t>(nAg);

  // One set of histories per thread; periods are spread over the threads.
  const std::vector<core::Scratch> scratch =
      core::allocateWorkerScratch(core::workersFor(nT), 8, length);
  if (scratch.empty()) {
    core::warn("??? Vintarrow::getSpectra - failed to create time-history vectors\n");
    return -1;
  }
  const std::int32_t nTH = static_cast<std::int32_t>(length);

  *pga = core::peakMagnitude(ag1, ag2, nAg);

  const int workers = static_cast<int>(scratch.size());
  return core::runItemsInOrder(nT, workers, [&](std::int64_t period, int worker) {
    const auto j = static_cast<std::int32_t>(period);
    const core::Scratch& s = scratch[worker];
    const Histories h{s.vector(0), s.vector(1), s.vector(2), s.vector(3),
                      s.vector(4), s.vector(5), s.vector(6), s.vector(7)};
    f[j] = 1.0 / T[j];
    const double omega = twoPi / T[j];
    if (nQd <= 0) return 0;
    const double ku = ((m * omega) * omega) / alpha;
    for (std::int32_t q = 0; q < nQd; ++q) {
      const std::int32_t idx = j + q * nT;
      const double Fy = Qd[q] / (1.0 - alpha);
      // A pair that does not converge keeps its zeros; the warning is already printed.
      if (newmarkVar(h.u1, h.u2, h.v1, h.v2, h.a1, h.a2, h.fs1, h.fs2, ag1, ag2, nAg, nTH, dt, m,
                     0.0, ku, Qd[q], alpha, 0.25, 0.5) != 0)
        continue;

      core::updateResultantPeaks({h.u1, h.u2, h.v1, h.v2, h.a1, h.a2, h.fs1, h.fs2}, ag1, ag2, nAg,
                                 nTH, {dsp + idx, vel + idx, acc + idx, totAcc + idx, rFrc + idx});
      psdVel[idx] = dsp[idx] * omega;
      psdAcc[idx] = (dsp[idx] * omega) * omega;
      resDsp[idx] = core::magnitude(h.u1[nTH - 1], h.u2[nTH - 1]);
      iFrc[idx] = totAcc[idx] * m;
      dFrc[idx] = 0.0;

      yieldDsp[idx] = Fy / ku;
      psdYieldVel[idx] = yieldDsp[idx] * omega;
      psdYieldAcc[idx] = (yieldDsp[idx] * omega) * omega;
      yieldFrc[idx] = Fy;
      muFact[idx] = dsp[idx] / yieldDsp[idx];

      const LinearPeaks elastic = linearRun(h, ag1, ag2, nAg, nTH, dt, m, 0.0, ku);
      RFact[idx] = elastic.fMax / Fy;
      gammaFact[idx] = dsp[idx] / elastic.uMax;

      // Equivalent linear system: secant stiffness at the peak resultant, and the viscous
      // damping of a bilinear loop of area 4·Qd·(dsp − uy).
      const double keff = rFrc[idx] / dsp[idx];
      effT[idx] = std::sqrt(m / keff) * twoPi;
      double zetaEff =
          ((Qd[q] + Qd[q]) * (dsp[idx] - yieldDsp[idx])) / ((rFrc[idx] * pi) * dsp[idx]);
      // A literal "below zero" test: −0.0 and NaN stay as they are.
      if (zetaEff < 0.0) zetaEff = 0.0;
      effZeta[idx] = zetaEff;

      const LinearPeaks effective = linearRun(h, ag1, ag2, nAg, nTH, dt, m, zetaEff, keff);
      effRFact[idx] = effective.fMax / Fy;
      effGammaFact[idx] = dsp[idx] / effective.uMax;
    }
    return 0;
  });
}

}  // namespace vintarrow
