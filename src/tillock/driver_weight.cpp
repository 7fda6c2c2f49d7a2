// Friction-pendulum spectra driver, weight variant: per period and friction coefficient an elastic
// reference analysis and the bilinear (kinematic-hardening) analysis of the isolated mass.
#include "tillock/driver_weight.h"

#include <cmath>

#include "core/runtime/console.h"
#include "morbane/newmark_var.h"
#include "core/runtime/ordered_items.h"
#include "core/numerics/peaks.h"
#include "core/numerics/recform.h"
#include "core/runtime/scratch.h"

namespace tillock::weight {

namespace {

struct Histories {
  double* u;
  double* v;
  double* a;
  double* fs;
  std::int32_t n;
};

// The isolator as a kinematic-hardening material: initial stiffness k1 up to the yield force,
// then the post-yield tangent k1·Hkin/(k1 + Hkin) = kp for the hardening ratio kp/(k1 − kp).
// Integrated by the sub-stepping Newmark scheme without viscous damping. Without friction
// (k1 = kp) the ratio is infinite and the material's back stress turns NaN at the first yield:
// this variant's results are then not numbers, unlike the mass variant's linear pendulum.
std::int32_t bilinearAnalysis(const Histories& h, const double* ag, std::int32_t nAg, double dt,
                              double m, double k1, double kp, double Fy) {
  return morbane::newmarkVar(h.u, h.v, h.a, h.fs, ag, nAg, h.n, dt, m, 0.0, k1, Fy, kp / (k1 - kp),
                          0.0, 0.25, 0.5, "Tillock");
}

}  // namespace

std::int32_t getSpectra(double* pga, double* f, double* dsp, double* vel, double* acc,
                        double* totAcc, double* psdVel, double* psdAcc, double* resDsp,
                        double* iFrc, double* dFrc, double* rFrc, double* yieldDsp,
                        double* psdYieldVel, double* psdYieldAcc, double* yieldFrc,
                        double* RFact, double* muFact, double* gammaFact, const double* ag,
                        std::int32_t nAg, double dt, const double* T, std::int32_t nT, double W,
                        const double* frn, std::int32_t nFrn, double uy, double g) {
  const double pi = std::acos(-1.0);
  const double twoPi = pi + pi;

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
    const double kp = W / ((g / omega) / omega);
    const double m = W / g;
    for (std::int32_t j = 0; j < nFrn; ++j) {
      const double mu = frn[j];
      const std::int32_t idx = i + j * nT;
      const double k1 = ((W * mu) / uy) + kp;
      const double Fy = uy * k1;

      // Elastic reference first: its histories are overwritten by the bilinear analysis.
      core::recform(h.u, h.v, h.a, h.fs, ag, nAg, h.n, dt, m, 0.0, k1);
      const double uMax = core::peakAbs(h.u, h.n);
      const double fMax = core::peakAbs(h.fs, h.n);

      // A failed integration leaves every entry of the pair at zero.
      if (bilinearAnalysis(h, ag, nAg, dt, m, k1, kp, Fy) != 0) continue;
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
      RFact[idx] = fMax / Fy;
      muFact[idx] = dsp[idx] / yieldDsp[idx];
      gammaFact[idx] = dsp[idx] / uMax;
    }
    return 0;
  });
}

}  // namespace tillock::weight
