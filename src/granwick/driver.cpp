// Two-component friction-pendulum spectra driver: per period and friction coefficient, the
// bidirectional isolator analysis, an elastic reference and an equivalent linear system, with every
// peak taken on the magnitude of the horizontal vector.
#include "granwick/driver.h"

#include <cmath>

#include "core/runtime/console.h"
#include "core/numerics/magnitude.h"
#include "core/runtime/ordered_items.h"
#include "core/numerics/recform.h"
#include "core/runtime/scratch.h"
#include "granwick/newmark_var.h"

namespace granwick {

namespace {

// The nT × nFrn result matrices.
struct Outputs {
  double *dsp, *vel, *acc, *totAcc, *psdVel, *psdAcc, *resDsp, *iFrc, *dFrc, *rFrc;
  double *yieldDsp, *psdYieldVel, *psdYieldAcc, *yieldFrc, *muFact, *RFact, *gammaFact;
  double *effT, *effZeta, *effRFact, *effGammaFact;
};

// The eight histories, component by component.
struct Histories {
  double *u1, *vel1, *a1, *fs1;
  double *u2, *vel2, *a2, *fs2;
};

// The records and the analysis length, shared by every analysis of the call.
struct Records {
  const double* ag1;
  const double* ag2;
  std::int32_t nAg;
  std::int32_t nTH;
  double dt;
};

// Peak resultant displacement and force of a linear system of mass m, damping ratio zeta and
// stiffness k, both components integrated independently by the exact recursive method.
void linearPeaks(const Histories& h, const Records& r, double m, double zeta, double k,
                 double* Umax, double* Fmax) {
  core::recform(h.u1, h.vel1, h.a1, h.fs1, r.ag1, r.nAg, r.nTH, r.dt, m, zeta, k);
  core::recform(h.u2, h.vel2, h.a2, h.fs2, r.ag2, r.nAg, r.nTH, r.dt, m, zeta, k);
  *Umax = core::peakMagnitude(h.u1, h.u2, r.nTH);
  *Fmax = core::peakMagnitude(h.fs1, h.fs2, r.nTH);
}

// One period (circular frequency omega) and friction coefficient mu: the isolator analysis, the
// elastic reference at the initial stiffness k1, and the equivalent linear system at the secant
// stiffness with the damping ratio that dissipates the friction energy of one cycle at the peak
// displacement. A failed isolator analysis leaves the pair at zero.
void analysePair(const Histories& h, const Records& r, const Outputs& out, std::int32_t idx,
                 double omega, double m, double W, double R, double kp, double mu, double uy,
                 double g) {
  const double pi = std::acos(-1.0);
  const double twoPi = pi + pi;
  const double k1 = ((mu * W) / uy) + kp;
  const double Fy = k1 * uy;
  if (newmarkVar(h.u1, h.u2, h.vel1, h.vel2, h.a1, h.a2, h.fs1, h.fs2, r.ag1, r.ag2, r.nAg, r.nTH,
                 r.dt, m, 0.0, k1, mu, R, 0.25, 0.5, g) != 0)
    return;

  core::updateResultantPeaks({h.u1, h.u2, h.vel1, h.vel2, h.a1, h.a2, h.fs1, h.fs2}, r.ag1, r.ag2,
                             r.nAg, r.nTH,
                             {out.dsp + idx, out.vel + idx, out.acc + idx, out.totAcc + idx,
                              out.rFrc + idx});
  const double dsp = out.dsp[idx];
  out.psdVel[idx] = omega * dsp;
  out.psdAcc[idx] = (omega * dsp) * omega;
  out.resDsp[idx] = core::magnitude(h.u1[r.nTH - 1], h.u2[r.nTH - 1]);
  out.iFrc[idx] = out.totAcc[idx] * m;
  out.dFrc[idx] = 0.0;
  out.yieldDsp[idx] = uy;
  out.psdYieldVel[idx] = omega * uy;
  out.psdYieldAcc[idx] = (omega * uy) * omega;
  out.yieldFrc[idx] = Fy;
  out.muFact[idx] = dsp / uy;

  double Umax = 0.0, Fmax = 0.0;
  linearPeaks(h, r, m, 0.0, k1, &Umax, &Fmax);
  out.RFact[idx] = Fmax / Fy;
  out.gammaFact[idx] = dsp / Umax;

  const double rFrc = out.rFrc[idx];
  const double keff = rFrc / dsp;
  out.effT[idx] = std::sqrt(m / keff) * twoPi;
  double zetaEff = (((dsp - uy) * (mu + mu)) * W) / ((pi * rFrc) * dsp);
  if (zetaEff < 0) zetaEff = 0;
  out.effZeta[idx] = zetaEff;

  linearPeaks(h, r, m, zetaEff, keff, &Umax, &Fmax);
  out.effRFact[idx] = Fmax / Fy;
  out.effGammaFact[idx] = dsp / Umax;
}

}  // namespace

std::int32_t getSpectra(double* pga, double* f, double* dsp, double* vel, double* acc,
                        double* totAcc, double* psdVel, double* psdAcc, double* resDsp,
                        double* iFrc, double* dFrc, double* rFrc, double* yieldDsp,
                        double* psdYieldVel, double* psdYieldAcc, double* yieldFrc, double* muFact,
                        double* RFact, double* gammaFact, double* effT, double* effZeta,
                        double* effRFact, double* effGammaFact, const double* ag1,
                        const double* ag2, std::int32_t nAg, double dt, const double* T,
                        std::int32_t nT, double m, const double* frn, std::int32_t nFrn, double uy,
                        double g) {
  // Every analysis covers the record and as many samples again of free vibration. One set of
  // histories per thread; periods are spread over the threads.
  const std::vector<core::Scratch> scratch =
      core::allocateWorkerScratch(core::workersFor(nT), 8, std::int64_t{2} * nAg);
  if (scratch.empty()) {
    core::warn("??? Granwick::getSpectra - failed to create time-history vectors\n");
    return -1;
  }
  const Records records = {ag1, ag2, nAg, static_cast<std::int32_t>(scratch[0].length), dt};
  const Outputs out = {dsp,    vel,   acc,       totAcc,   psdVel,      psdAcc,      resDsp,
                       iFrc,   dFrc,  rFrc,      yieldDsp, psdYieldVel, psdYieldAcc, yieldFrc,
                       muFact, RFact, gammaFact, effT,     effZeta,     effRFact,    effGammaFact};

  // The peak of the resultant horizontal ground acceleration, not the larger component peak.
  *pga = core::peakMagnitude(ag1, ag2, nAg);

  const double pi = std::acos(-1.0);
  const double twoPi = pi + pi;
  const int workers = static_cast<int>(scratch.size());
  return core::runItemsInOrder(nT, workers, [&](std::int64_t period, int worker) {
    const auto i = static_cast<std::int32_t>(period);
    const core::Scratch& s = scratch[worker];
    const Histories h = {s.vector(0), s.vector(1), s.vector(2), s.vector(3),
                         s.vector(4), s.vector(5), s.vector(6), s.vector(7)};
    f[i] = 1.0 / T[i];
    const double omega = twoPi / T[i];
    const double W = m * g;
    const double R = g / (omega * omega);
    const double kp = W / R;
    for (std::int32_t j = 0; j < nFrn; ++j)
      analysePair(h, records, out, i + j * nT, omega, m, W, R, kp, frn[j], uy, g);
    return 0;
  });
}

}  // namespace granwick
