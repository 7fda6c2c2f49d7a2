// Elastic spectra driver: one linear analysis per period and damping ratio, peaks and the pseudo
// quantities derived from them.
#include "quorvel/driver.h"

#include <cmath>
#include <cstring>

#include "core/runtime/console.h"
#include "core/lanes/elastic_spectra.h"
#include "core/runtime/execution.h"
#include "core/numerics/history_length.h"
#include "core/numerics/newmark.h"
#include "core/numerics/peaks.h"
#include "core/numerics/recform.h"
#include "core/runtime/scratch.h"

namespace quorvel {

namespace {

constexpr const char* kAllocationWarning =
    "??? Quorvel::getSpectra - failed to create time-history vectors\n";

}  // namespace

std::int32_t getSpectraStraightforward(double* pga, double* f, double* dsp, double* vel,
                                       double* acc, double* totAcc, double* psdVel,
                                       double* psdAcc, double* resDsp, double* iFrc, double* dFrc,
                                       double* rFrc, const double* ag, std::int32_t nAg,
                                       double dt, const double* T, std::int32_t nT, double m,
                                       const double* zeta, std::int32_t nZeta,
                                       const char* method) {
  const double pi = std::acos(-1.0);
  const double twoPi = pi + pi;
  const std::int64_t nMax = core::historyCapacity(nAg, zeta[0], T[nT - 1], dt);

  core::Scratch histories;
  if (!core::allocateScratch(histories, 4, nMax)) {
    core::warn("%s", kAllocationWarning);
    return -1;
  }
  double* u = histories.vector(0);
  double* v = histories.vector(1);
  double* a = histories.vector(2);
  double* fs = histories.vector(3);

  *pga = core::peakGroundAcceleration(ag, nAg);

  for (std::int32_t i = 0; i < nT; ++i) {
    f[i] = 1.0 / T[i];
    const double omega = twoPi / T[i];
    const double k = omega * (omega * m);
    const double sqrtMK = std::sqrt(m * k);
    for (std::int32_t j = 0; j < nZeta; ++j) {
      const double z = zeta[j];
      const std::int32_t idx = i + j * nT;
      const std::int32_t nTH = core::historyLength(nAg, z, omega, dt, nMax);
      if (std::strcmp(method, "recform") == 0)
        core::recform(u, v, a, fs, ag, nAg, nTH, dt, m, z, k);
      else if (std::strcmp(method, "newmark") == 0)
        core::newmark(u, v, a, fs, ag, nAg, nTH, dt, m, z, k, 0.25, 0.5);

      core::updatePeaks(u, v, a, fs, ag, nAg, nTH,
                        {dsp + idx, vel + idx, acc + idx, totAcc + idx, rFrc + idx});
      psdVel[idx] = omega * dsp[idx];
      psdAcc[idx] = (omega * dsp[idx]) * omega;
      resDsp[idx] = std::fabs(u[nTH - 1]);
      iFrc[idx] = m * totAcc[idx];
      dFrc[idx] = ((z + z) * sqrtMK) * vel[idx];
    }
  }
  return 0;
}

std::int32_t getSpectra(double* pga, double* f, double* dsp, double* vel, double* acc,
                        double* totAcc, double* psdVel, double* psdAcc, double* resDsp,
                        double* iFrc, double* dFrc, double* rFrc, const double* ag,
                        std::int32_t nAg, double dt, const double* T, std::int32_t nT, double m,
                        const double* zeta, std::int32_t nZeta, const char* method) {
  const bool recform = std::strcmp(method, "recform") == 0;
  const bool newmark = std::strcmp(method, "newmark") == 0;
  if (core::straightforward() || (!recform && !newmark))
    return getSpectraStraightforward(pga, f, dsp, vel, acc, totAcc, psdVel, psdAcc, resDsp, iFrc,
                                     dFrc, rFrc, ag, nAg, dt, T, nT, m, zeta, nZeta, method);
  const core::ElasticOutputs out{f, dsp, vel, acc, totAcc, psdVel, psdAcc, resDsp, iFrc, dFrc, rFrc};
  const std::int32_t status = core::fastElasticSpectra(out, ag, nullptr, nAg, dt, T, nT, m, zeta,
                                                       nZeta, recform, kAllocationWarning);
  if (status == 0) *pga = core::peakGroundAcceleration(ag, nAg);
  return status;
}

}  // namespace quorvel
