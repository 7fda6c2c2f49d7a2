// Inelastic spectra driver: per oscillator an elastic reference analysis, the yield force from the
// design parameter (by a ductility search if asked), and the final inelastic analysis.
#include "inelastic/driver.h"

#include <cmath>
#include <cstring>

#include "core/history_length.h"
#include "core/host_api.h"
#include "core/newmark_var.h"
#include "core/peaks.h"
#include "core/recform.h"
#include "core/scratch.h"

namespace morbane {

namespace {

constexpr double kBeta = 0.25;
constexpr double kGamma = 0.5;
constexpr double kSearchTolerance = 0.001;  // on the change of ln(fy) between trials
constexpr std::int32_t kSearchLimit = 25;   // a search must settle within 25 trials

// The four scratch histories of one call.
struct Histories {
  double* u;
  double* v;
  double* a;
  double* fs;
};

// One oscillator as newmarkVar needs it, apart from its yield force.
struct Oscillator {
  const double* ag;
  std::int32_t nAg;
  std::int32_t nTH;
  double dt, m, zeta, k, kin, iso;
};

std::int32_t analyse(const Histories& h, const Oscillator& o, double fy) {
  return core::newmarkVar(h.u, h.v, h.a, h.fs, o.ag, o.nAg, o.nTH, o.dt, o.m, o.zeta, o.k, fy,
                          o.kin, o.iso, kBeta, kGamma, "Morbane");
}

// Fixed-point search for the yield force that gives the target ductility mu, carried out on
// x = ln(fy): fy ← k·umax(fy)/mu until ln(fy) moves by at most 0.001. umax is the peak
// displacement of the last completed trial; it is carried across oscillators, so a failed trial
// reuses the peak of the one before. Returns false, with the warning printed, when the search has
// not settled after 25 trials.
bool searchDuctility(const Histories& h, const Oscillator& o, double mu, double omega, double& umax,
                     double& fy) {
  double x = 1.0;
  std::int32_t n = 0;
  for (;;) {
    if (analyse(h, o, std::exp(x)) == 0) umax = core::peakAbs(h.u, o.nTH);
    const double y = std::log((o.k * umax) / mu);
    n = n + 1;
    if (std::fabs(y - x) > kSearchTolerance && n <= kSearchLimit) {
      x = y;
      continue;
    }
    if (n > kSearchLimit) {
      mexPrintf("??? Morbane::getSpectra - failed to converge: mu = %f\n",
                ((umax / std::exp(x)) * omega) * omega);
      return false;
    }
    fy = std::exp(y);
    return true;
  }
}

}  // namespace

Strength strengthDefinition(const char* method) {
  if (std::strcmp(method, "yieldStrength") == 0 || std::strcmp(method, "fy") == 0)
    return Strength::YieldStrength;
  if (std::strcmp(method, "yieldDisplacement") == 0 || std::strcmp(method, "uy") == 0)
    return Strength::YieldDisplacement;
  if (std::strcmp(method, "strengthReductionFactor") == 0 || std::strcmp(method, "R") == 0)
    return Strength::ReductionFactor;
  if (std::strcmp(method, "ductilityFactor") == 0 || std::strcmp(method, "mu") == 0)
    return Strength::Ductility;
  return Strength::Unknown;
}

std::int32_t getSpectra(double* pga, double* f, double* dsp, double* vel, double* acc,
                        double* totAcc, double* psdVel, double* psdAcc, double* resDsp,
                        double* iFrc, double* dFrc, double* rFrc, double* yieldDsp,
                        double* psdYieldVel, double* psdYieldAcc, double* yieldFrc, double* RFact,
                        double* muFact, double* gammaFact, const double* ag, std::int32_t nAg,
                        double dt, const double* T, std::int32_t nT, double m, const double* zeta,
                        std::int32_t nZeta, double kin, double iso, double para,
                        const char* method) {
  // The keyword decides the same way for every oscillator, so it is read once.
  const Strength strength = strengthDefinition(method);
  if (strength == Strength::Unknown) {
    mexPrintf("??? Morbane::getSpectra - invalid strength definition received\n");
    return -1;
  }
  const double pi = std::acos(-1.0);
  const double twoPi = pi + pi;
  const std::int64_t nMax = core::historyCapacity(nAg, zeta[0], T[nT - 1], dt);

  core::Scratch scratch;
  if (!core::allocateScratch(scratch, 4, nMax)) {
    mexPrintf("??? Morbane::getSpectra - failed to create time-history vectors\n");
    return -1;
  }
  const Histories h{scratch.vector(0), scratch.vector(1), scratch.vector(2), scratch.vector(3)};

  *pga = core::peakGroundAcceleration(ag, nAg);

  // Peak displacement of the last completed ductility trial; 0 until one has completed.
  double umaxTrial = 0.0;
  for (std::int32_t i = 0; i < nT; ++i) {
    f[i] = 1.0 / T[i];
    const double omega = twoPi / T[i];
    const double k = (m * omega) * omega;
    for (std::int32_t j = 0; j < nZeta; ++j) {
      const double z = zeta[j];
      const std::int32_t idx = i + j * nT;
      const std::int32_t nTH = core::historyLength(nAg, z, omega, dt, nMax);
      const Oscillator o{ag, nAg, nTH, dt, m, z, k, kin, iso};

      core::recform(h.u, h.v, h.a, h.fs, ag, nAg, nTH, dt, m, z, k);
      const double uEl = core::peakAbs(h.u, nTH);
      const double FEl = core::peakAbs(h.fs, nTH);

      double fy = 0.0;
      switch (strength) {
        case Strength::YieldStrength:
          fy = para;
          break;
        case Strength::YieldDisplacement:
          fy = k * para;
          break;
        case Strength::ReductionFactor:
          fy = FEl / para;
          break;
        default:
          if (!searchDuctility(h, o, para, omega, umaxTrial, fy)) return -1;
          break;
      }
      // A failed final analysis leaves this oscillator's entries at zero.
      if (analyse(h, o, fy) != 0) continue;

      core::updatePeaks(h.u, h.v, h.a, h.fs, ag, nAg, nTH,
                        {dsp + idx, vel + idx, acc + idx, totAcc + idx, rFrc + idx});
      psdVel[idx] = omega * dsp[idx];
      psdAcc[idx] = (omega * dsp[idx]) * omega;
      resDsp[idx] = std::fabs(h.u[nTH - 1]);
      iFrc[idx] = m * totAcc[idx];
      dFrc[idx] = ((z + z) * std::sqrt(m * k)) * vel[idx];
      yieldDsp[idx] = fy / k;
      psdYieldVel[idx] = yieldDsp[idx] * omega;
      psdYieldAcc[idx] = (yieldDsp[idx] * omega) * omega;
      yieldFrc[idx] = fy;
      RFact[idx] = FEl / fy;
      muFact[idx] = dsp[idx] / yieldDsp[idx];
      gammaFact[idx] = dsp[idx] / uEl;
    }
  }
  return 0;
}

}  // namespace morbane
