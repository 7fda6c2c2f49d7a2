// Elastic spectra driver: one linear analysis per period and damping ratio, peaks and the pseudo
// quantities derived from them.
#include "elastic/driver.h"

#include <cmath>
#include <cstring>

#include <limits>
#include <new>
#include <vector>

#include "core/execution.h"
#include "core/history_length.h"
#include "core/host_api.h"
#include "core/newmark.h"
#include "core/peaks.h"
#include "core/recform.h"
#include "core/scratch.h"
#include "core/elastic_batch.h"

namespace quorvel {

namespace {

constexpr const char* kAllocationWarning =
    "??? Quorvel::getSpectra - failed to create time-history vectors\n";

}  // namespace

std::int32_t getSpectraStraightforward(double* pga, double* f, double* dsp, double* vel, double* acc,
                        double* totAcc, double* psdVel, double* psdAcc, double* resDsp,
                        double* iFrc, double* dFrc, double* rFrc, const double* ag,
                        std::int32_t nAg, double dt, const double* T, std::int32_t nT, double m,
                        const double* zeta, std::int32_t nZeta, const char* method) {
  const double pi = std::acos(-1.0);
  const double twoPi = pi + pi;
  const std::int64_t nMax = core::historyCapacity(nAg, zeta[0], T[nT - 1], dt);

  core::Scratch histories;
  if (!core::allocateScratch(histories, 4, nMax)) {
    mexPrintf("%s", kAllocationWarning);
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

namespace {

// The analyses of one call in the order of the output matrices (idx = i + j·nT), with the
// circular frequency of every period.
void describePairs(std::int32_t nAg, double dt, const double* T, std::int32_t nT, double m,
                   const double* zeta, std::int32_t nZeta, std::int64_t nMax,
                   std::vector<double>& omega, std::vector<core::Oscillator>& oscillators) {
  const double pi = std::acos(-1.0);
  const double twoPi = pi + pi;
  omega.resize(static_cast<std::size_t>(nT));
  oscillators.resize(static_cast<std::size_t>(nT) * static_cast<std::size_t>(nZeta));
  for (std::int32_t i = 0; i < nT; ++i) {
    omega[i] = twoPi / T[i];
    const double k = omega[i] * (omega[i] * m);
    for (std::int32_t j = 0; j < nZeta; ++j)
      oscillators[i + j * nT] = {k, zeta[j], core::historyLength(nAg, zeta[j], omega[i], dt, nMax)};
  }
}

}  // namespace

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

  // The fast path keeps no histories, but refuses what the history vectors could not hold.
  const std::int64_t nMax = core::historyCapacity(nAg, zeta[0], T[nT - 1], dt);
  if (nMax > std::numeric_limits<std::int32_t>::max()) {
    mexPrintf("%s", kAllocationWarning);
    return -1;
  }
  try {
    std::vector<double> omegas;
    std::vector<core::Oscillator> oscillators;
    describePairs(nAg, dt, T, nT, m, zeta, nZeta, nMax, omegas, oscillators);
    const std::vector<core::OscillatorPeaks> peaks = core::elasticPeaks(
        recform ? core::ElasticMethod::Recform : core::ElasticMethod::Newmark, ag, nAg, dt, m,
        oscillators, core::vectorUnit(), core::threadCount());
    *pga = core::peakGroundAcceleration(ag, nAg);
    for (std::int32_t i = 0; i < nT; ++i) {
      f[i] = 1.0 / T[i];
      const double omega = omegas[i];
      const double sqrtMK = std::sqrt(m * oscillators[i].k);
      for (std::int32_t j = 0; j < nZeta; ++j) {
        const std::int32_t idx = i + j * nT;
        const core::OscillatorPeaks& p = peaks[idx];
        const double z = zeta[j];
        dsp[idx] = p.dsp;
        vel[idx] = p.vel;
        acc[idx] = p.acc;
        totAcc[idx] = p.totAcc;
        rFrc[idx] = p.rFrc;
        psdVel[idx] = omega * dsp[idx];
        psdAcc[idx] = (omega * dsp[idx]) * omega;
        resDsp[idx] = p.resDsp;
        iFrc[idx] = m * totAcc[idx];
        dFrc[idx] = ((z + z) * sqrtMK) * vel[idx];
      }
    }
  } catch (const std::bad_alloc&) {
    mexPrintf("%s", kAllocationWarning);
    return -1;
  }
  return 0;
}

}  // namespace quorvel
