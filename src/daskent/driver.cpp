// Two-component elastic spectra driver: both components through the same linear oscillator, peaks
// taken on the magnitude of the horizontal response vector.
#include "daskent/driver.h"

#include <cmath>
#include <cstring>

#include "core/runtime/console.h"
#include "core/lanes/elastic_spectra.h"
#include "core/runtime/execution.h"
#include "core/numerics/history_length.h"
#include "core/numerics/magnitude.h"
#include "core/numerics/newmark.h"
#include "core/numerics/recform.h"
#include "core/runtime/scratch.h"

namespace daskent {

namespace {

// The four histories of one component.
struct Component {
  double* u;
  double* v;
  double* a;
  double* fs;
};

// Integrates one component over nTH samples with the named method; any other keyword integrates
// nothing (the gateway never passes one).
void integrate(const Component& c, const double* ag, std::int32_t nAg, std::int32_t nTH, double dt,
               double m, double zeta, double k, const char* method) {
  if (std::strcmp(method, "recform") == 0)
    core::recform(c.u, c.v, c.a, c.fs, ag, nAg, nTH, dt, m, zeta, k);
  else if (std::strcmp(method, "newmark") == 0)
    core::newmark(c.u, c.v, c.a, c.fs, ag, nAg, nTH, dt, m, zeta, k, 0.25, 0.5);
}

constexpr const char* kAllocationWarning =
    "??? Daskent::getSpectra - failed to create time-history vectors\n";

}  // namespace

std::int32_t getSpectraStraightforward(double* pga, double* f, double* dsp, double* vel,
                                       double* acc, double* totAcc, double* psdVel,
                                       double* psdAcc, double* resDsp, double* iFrc, double* dFrc,
                                       double* rFrc, const double* ag1, const double* ag2,
                                       std::int32_t nAg, double dt, const double* T,
                                       std::int32_t nT, double m, const double* zeta,
                                       std::int32_t nZeta, const char* method) {
  const double pi = std::acos(-1.0);
  const double twoPi = pi + pi;
  const std::int64_t nMax = core::historyCapacity(nAg, zeta[0], T[nT - 1], dt);

  core::Scratch histories;
  if (!core::allocateScratch(histories, 8, nMax)) {
    core::warn("%s", kAllocationWarning);
    return -1;
  }
  const Component c1 = {histories.vector(0), histories.vector(1), histories.vector(2),
                        histories.vector(3)};
  const Component c2 = {histories.vector(4), histories.vector(5), histories.vector(6),
                        histories.vector(7)};

  // The peak of the resultant horizontal ground acceleration, not the larger component peak.
  *pga = core::peakMagnitude(ag1, ag2, nAg);

  for (std::int32_t i = 0; i < nT; ++i) {
    f[i] = 1.0 / T[i];
    const double omega = twoPi / T[i];
    const double k = omega * (omega * m);
    const double sqrtMK = std::sqrt(m * k);
    for (std::int32_t j = 0; j < nZeta; ++j) {
      const double z = zeta[j];
      const std::int32_t idx = i + j * nT;
      const std::int32_t nTH = core::historyLength(nAg, z, omega, dt, nMax);
      integrate(c1, ag1, nAg, nTH, dt, m, z, k, method);
      integrate(c2, ag2, nAg, nTH, dt, m, z, k, method);

      core::updateResultantPeaks({c1.u, c2.u, c1.v, c2.v, c1.a, c2.a, c1.fs, c2.fs}, ag1, ag2, nAg,
                                 nTH, {dsp + idx, vel + idx, acc + idx, totAcc + idx, rFrc + idx});
      psdVel[idx] = omega * dsp[idx];
      psdAcc[idx] = (omega * dsp[idx]) * omega;
      resDsp[idx] = core::magnitude(c1.u[nTH - 1], c2.u[nTH - 1]);
      iFrc[idx] = m * totAcc[idx];
      dFrc[idx] = ((z + z) * sqrtMK) * vel[idx];
    }
  }
  return 0;
}

std::int32_t getSpectra(double* pga, double* f, double* dsp, double* vel, double* acc,
                        double* totAcc, double* psdVel, double* psdAcc, double* resDsp,
                        double* iFrc, double* dFrc, double* rFrc, const double* ag1,
                        const double* ag2, std::int32_t nAg, double dt, const double* T,
                        std::int32_t nT, double m, const double* zeta, std::int32_t nZeta,
                        const char* method) {
  const bool recform = std::strcmp(method, "recform") == 0;
  const bool newmark = std::strcmp(method, "newmark") == 0;
  if (core::straightforward() || (!recform && !newmark))
    return getSpectraStraightforward(pga, f, dsp, vel, acc, totAcc, psdVel, psdAcc, resDsp, iFrc,
                                     dFrc, rFrc, ag1, ag2, nAg, dt, T, nT, m, zeta, nZeta, method);
  const core::ElasticOutputs out{f, dsp, vel, acc, totAcc, psdVel, psdAcc, resDsp, iFrc, dFrc, rFrc};
  const std::int32_t status = core::fastElasticSpectra(out, ag1, ag2, nAg, dt, T, nT, m, zeta,
                                                       nZeta, recform, kAllocationWarning);
  // The peak of the resultant horizontal ground acceleration, not the larger component peak.
  if (status == 0) *pga = core::peakMagnitude(ag1, ag2, nAg);
  return status;
}

}  // namespace daskent
