// Friction-pendulum spectra driver: per period and friction coefficient one nonlinear analysis of
// the isolated mass and two linear reference analyses.
#include "tillock/driver.h"

#include <cmath>

#include "core/runtime/console.h"
#include "core/runtime/ordered_items.h"
#include "core/numerics/peaks.h"
#include "core/numerics/recform.h"
#include "core/runtime/scratch.h"
#include "tillock/newmark_var.h"

namespace tillock {

namespace {

// The four histories of one analysis, 2·nAg samples each.
struct Histories {
  double* u;
  double* v;
  double* a;
  double* fs;
  std::int32_t n;
};

// Peak displacement and peak force of a linear system of stiffness k and damping ratio zeta under
// the record, over the record and a free-vibration tail (exact piecewise-linear recurrence).
void linearPeaks(const Histories& h, const double* ag, std::int32_t nAg, double dt, double m,
                 double zeta, double k, double* uMax, double* fMax) {
  core::recform(h.u, h.v, h.a, h.fs, ag, nAg, h.n, dt, m, zeta, k);
  *uMax = core::peakAbs(h.u, h.n);
  *fMax = core::peakAbs(h.fs, h.n);
}

// Equivalent viscous damping of the bearing cycling at its peak displacement: friction energy
// 4·μ·W·(dsp − uy) of one cycle over 2π·rFrc·dsp. Without sliding (dsp < uy) the ratio would be
// negative and is set to 0; the strict test lets −0 and NaN through unchanged.
double equivalentDamping(double pi, double mu, double W, double dspPeak, double rFrcPeak,
                         double uy) {
  double zetaEff = (((mu * 2.0) * W) * (dspPeak - uy)) / ((pi * rFrcPeak) * dspPeak);
  if (zetaEff < 0) zetaEff = 0;
  return zetaEff;
}

}  // namespace

std::int32_t getSpectra(double* pga, double* f, double* dsp, double* vel, double* acc,
                        double* totAcc, double* psdVel, double* psdAcc, double* resDsp,
                        double* iFrc, double* dFrc, double* rFrc, double* yieldDsp,
                        double* psdYieldVel, double* psdYieldAcc, double* yieldFrc,
                        double* muFact, double* RFact, double* gammaFact, double* effT,
                        double* effZeta, double* effRFact, double* effGammaFact,
                        const double* ag, std::int32_t nAg, double dt, const double* T,
                        std::int32_t nT, double m, const double* frn, std::int32_t nFrn,
                        double uy, double g) {
  const double pi = std::acos(-1.0);
  const double twoPi = pi * 2.0;

  // Every analysis covers the record and as many samples of ground at rest; the length is
  // formed in 64 bits, and one beyond a 32-bit count fails the allocation.
  // One set of histories per thread; periods are spread over the threads.
  const std::vector<core::Scratch> scratch =
      core::allocateWorkerScratch(core::workersFor(nT), 4, 2 * static_cast<std::int64_t>(nAg));
  if (scratch.empty()) {
    core::warn("??? Tillock::getSpectra - failed to create time-history vectors\n");
    return -1;
  }

  *pga = core::peakGroundAcceleration(ag, nAg);

  const int workers = static_cast<int>(scratch.size());
  return core::runItemsInOrder(nT, workers, [&](std::int64_t period, int worker) {
    const auto i = static_cast<std::int32_t>(period);
    const core::Scratch& s = scratch[worker];
    const Histories h{s.vector(0), s.vector(1), s.vector(2), s.vector(3),
                      static_cast<std::int32_t>(s.length)};
    f[i] = 1.0 / T[i];
    const double omega = twoPi / T[i];
    const double W = g * m;
    const double R = g / (omega * omega);
    const double kp = W / R;
    for (std::int32_t j = 0; j < nFrn; ++j) {
      const double mu = frn[j];
      const std::int32_t idx = i + j * nT;
      const double k1 = ((mu * W) / uy) + kp;
      const double Fy = k1 * uy;

      // A failed integration leaves every entry of the pair at zero.
      if (newmarkVar(h.u, h.v, h.a, h.fs, ag, nAg, h.n, dt, m, 0.0, k1, mu, R, 0.25, 0.5, g) !=
          0)
        continue;
      core::updatePeaks(h.u, h.v, h.a, h.fs, ag, nAg, h.n,
                        {dsp + idx, vel + idx, acc + idx, totAcc + idx, rFrc + idx});
      psdVel[idx] = omega * dsp[idx];
      psdAcc[idx] = (omega * dsp[idx]) * omega;
      resDsp[idx] = std::fabs(h.u[h.n - 1]);
      iFrc[idx] = m * totAcc[idx];
      dFrc[idx] = 0.0;  // the isolated mass has no viscous damping
      yieldDsp[idx] = uy;
      psdYieldVel[idx] = omega * uy;
      psdYieldAcc[idx] = (omega * uy) * omega;
      yieldFrc[idx] = Fy;
      muFact[idx] = dsp[idx] / uy;

      double uMax = 0.0;
      double fMax = 0.0;
      linearPeaks(h, ag, nAg, dt, m, 0.0, k1, &uMax, &fMax);
      RFact[idx] = fMax / Fy;
      gammaFact[idx] = dsp[idx] / uMax;

      // Equivalent linear system: secant stiffness at the peak displacement.
      const double keff = rFrc[idx] / dsp[idx];
      effT[idx] = std::sqrt(m / keff) * twoPi;
      const double zetaEff = equivalentDamping(pi, mu, W, dsp[idx], rFrc[idx], uy);
      effZeta[idx] = zetaEff;
      linearPeaks(h, ag, nAg, dt, m, zetaEff, keff, &uMax, &fMax);
      effRFact[idx] = fMax / Fy;
      effGammaFact[idx] = dsp[idx] / uMax;
    }
    return 0;
  });
}

}  // namespace tillock
