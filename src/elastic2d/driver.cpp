// Two-component elastic spectra driver: both components through the same linear oscillator, peaks
// taken on the magnitude of the horizontal response vector.
#include "elastic2d/driver.h"

#include <cmath>
#include <cstring>

#include "core/console.h"
#include "core/elastic_spectra.h"
#include "core/execution.h"
#include "core/history_length.h"
#include "core/magnitude.h"
#include "core/newmark.h"
#include "core/recform.h"
#include "core/scratch.h"

namespace daskent {

namespace {

// The four histories of one component.
struct Component {
  double* u;
  double* v;
  double* a;
  double* fs;
};

// The peak outputs of one period and damping ratio, updated in place.
struct PeakOutputs {
  double* dsp;
  double* vel;
  double* acc;
  double* totAcc;
  double* rFrc;
};

inline void raise(double& peak, double candidate) {
  if (candidate > peak) peak = candidate;
}

// Integrates one component over nTH samples with the named method; any other keyword integrates
// nothing (the gateway never passes one).
void integrate(const Component& c, const double* ag, std::int32_t nAg, std::int32_t nTH, double dt,
               double m, double zeta, double k, const char* method) {
  if (std::strcmp(method, "recform") == 0)
    core::recform(c.u, c.v, c.a, c.fs, ag, nAg, nTH, dt, m, zeta, k);
  else if (std::strcmp(method, "newmark") == 0)
    core::newmark(c.u, c.v, c.a, c.fs, ag, nAg, nTH, dt, m, zeta, k, 0.25, 0.5);
}

// Peaks of the resultant displacement, velocity, relative and total acceleration and restoring
// force over samples 0 .. nTH − 1. Strict comparisons, so a NaN sample never becomes a peak; after
// the record the ground is at rest and the total acceleration is the relative one.
void updatePeaks(const Component& c1, const Component& c2, const double* ag1, const double* ag2,
                 std::int32_t nAg, std::int32_t nTH, const PeakOutputs& out) {
  double dsp = *out.dsp, vel = *out.vel, acc = *out.acc, totAcc = *out.totAcc, rFrc = *out.rFrc;
  for (std::int32_t s = 0; s < nTH; ++s) {
    raise(dsp, core::magnitude(c1.u[s], c2.u[s]));
    raise(vel, core::magnitude(c1.v[s], c2.v[s]));
    const double relative = core::magnitude(c1.a[s], c2.a[s]);
    raise(acc, relative);
    raise(totAcc, s < nAg ? core::magnitude(c1.a[s] + ag1[s], c2.a[s] + ag2[s]) : relative);
    raise(rFrc, core::magnitude(c1.fs[s], c2.fs[s]));
  }
  *out.dsp = dsp;
  *out.vel = vel;
  *out.acc = acc;
  *out.totAcc = totAcc;
  *out.rFrc = rFrc;
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

      updatePeaks(c1, c2, ag1, ag2, nAg, nTH,
                  {dsp + idx, vel + idx, acc + idx, totAcc + idx, rFrc + idx});
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
