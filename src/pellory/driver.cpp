// Pellory driver: per (period, strength) pair one bearing analysis and two linear reference
// analyses on the same scratch histories.
#include "pellory/driver.h"

#include <cmath>
#include <cstdint>

#include "core/runtime/console.h"
#include "core/runtime/ordered_items.h"
#include "core/numerics/peaks.h"
#include "core/numerics/recform.h"
#include "core/runtime/scratch.h"
#include "pellory/newmark_var.h"

namespace pellory {

namespace {

// Peak |u| and |fs| of a linear reference analysis.
struct LinearPeaks {
  double uMax, fMax;
};

LinearPeaks linearRun(double* u, double* v, double* a, double* fs, const double* ag,
                      std::int32_t nAg, std::int32_t nTH, double dt, double m, double zeta,
                      double k) {
  core::recform(u, v, a, fs, ag, nAg, nTH, dt, m, zeta, k);
  return LinearPeaks{core::peakAbs(u, nTH), core::peakAbs(fs, nTH)};
}

}  // namespace

std::int32_t getSpectra(double* pga, double* f, double* dsp, double* vel, double* acc,
                        double* totAcc, double* psdVel, double* psdAcc, double* resDsp,
                        double* iFrc, double* dFrc, double* rFrc, double* yieldDsp,
                        double* psdYieldVel, double* psdYieldAcc, double* yieldFrc,
                        double* muFact, double* RFact, double* gammaFact, double* effT,
                        double* effZeta, double* effRFact, double* effGammaFact, const double* ag,
                        std::int32_t nAg, double dt, const double* T, std::int32_t nT, double m,
                        const double* Qd, std::int32_t nQd, double alpha) {
  const double pi = std::acos(-1.0);
  const double twoPi = pi + pi;
  // Twice the record: every analysis runs on in free vibration for as long as the record lasts.
  // Counted in 64 bits; a length beyond a 32-bit count is refused by the allocation.
  const std::int64_t length = 2 * static_cast<std::int64_t>(nAg);

  // One set of histories per thread; periods are spread over the threads.
  const std::vector<core::Scratch> histories =
      core::allocateWorkerScratch(core::workersFor(nT), 4, length);
  if (histories.empty()) {
    core::warn("??? Pellory::getSpectra - failed to create time-history vectors\n");
    return -1;
  }
  const std::int32_t nTH = static_cast<std::int32_t>(length);

  *pga = core::peakGroundAcceleration(ag, nAg);

  const int workers = static_cast<int>(histories.size());
  return core::runItemsInOrder(nT, workers, [&](std::int64_t period, int worker) {
    const auto j = static_cast<std::int32_t>(period);
    double* u = histories[worker].vector(0);
    double* v = histories[worker].vector(1);
    double* a = histories[worker].vector(2);
    double* fs = histories[worker].vector(3);
    f[j] = 1.0 / T[j];
    const double omega = twoPi / T[j];
    if (nQd <= 0) return 0;
    const double ku = ((m * omega) * omega) / alpha;
    for (std::int32_t q = 0; q < nQd; ++q) {
      const std::int32_t idx = j + q * nT;
      const double Fy = Qd[q] / (1.0 - alpha);
      // A pair that does not converge keeps its zeros; the warning is already printed.
      if (newmarkVar(u, v, a, fs, ag, nAg, nTH, dt, m, 0.0, ku, Qd[q], alpha, 0.25, 0.5) != 0)
        continue;

      core::updatePeaks(u, v, a, fs, ag, nAg, nTH,
                        {dsp + idx, vel + idx, acc + idx, totAcc + idx, rFrc + idx});
      psdVel[idx] = dsp[idx] * omega;
      psdAcc[idx] = (dsp[idx] * omega) * omega;
      resDsp[idx] = std::fabs(u[nTH - 1]);
      iFrc[idx] = totAcc[idx] * m;
      dFrc[idx] = 0.0;

      yieldDsp[idx] = Fy / ku;
      psdYieldVel[idx] = yieldDsp[idx] * omega;
      psdYieldAcc[idx] = (yieldDsp[idx] * omega) * omega;
      yieldFrc[idx] = Fy;
      muFact[idx] = dsp[idx] / yieldDsp[idx];

      const LinearPeaks elastic = linearRun(u, v, a, fs, ag, nAg, nTH, dt, m, 0.0, ku);
      RFact[idx] = elastic.fMax / Fy;
      gammaFact[idx] = dsp[idx] / elastic.uMax;

      // Equivalent linear system: secant stiffness at the peak, and the viscous damping whose
      // energy per cycle matches a bilinear loop of area 4·Qd·(dsp − uy).
      const double keff = rFrc[idx] / dsp[idx];
      effT[idx] = std::sqrt(m / keff) * twoPi;
      double zetaEff =
          ((Qd[q] + Qd[q]) * (dsp[idx] - yieldDsp[idx])) / ((rFrc[idx] * pi) * dsp[idx]);
      // A literal "below zero" test: −0.0 and NaN stay as they are.
      if (zetaEff < 0.0) zetaEff = 0.0;
      effZeta[idx] = zetaEff;

      const LinearPeaks effective = linearRun(u, v, a, fs, ag, nAg, nTH, dt, m, zetaEff, keff);
      effRFact[idx] = effective.fMax / Fy;
      effGammaFact[idx] = dsp[idx] / effective.uMax;
    }
    return 0;
  });
}

}  // namespace pellory
