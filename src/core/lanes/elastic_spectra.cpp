// Fast elastic spectra: pairs described once, integrated in vector lanes over the threads, and
// the pseudo quantities and forces derived per pair in the drivers' order of operations.
#include "core/lanes/elastic_spectra.h"

#include <cmath>
#include <limits>
#include <new>
#include <vector>

#include "core/lanes/elastic_batch.h"
#include "core/numerics/history_length.h"
#include "core/runtime/console.h"
#include "core/runtime/execution.h"
#include "core/spectra/derived.h"

namespace core {

namespace {

// The oscillators of one call in the order of the output matrices (idx = i + j·nT).
std::vector<Oscillator> describePairs(std::int32_t nAg, double dt, const std::vector<double>& omega,
                                      double m, const double* zeta, std::int32_t nZeta,
                                      std::int64_t nMax) {
  const auto nT = static_cast<std::int32_t>(omega.size());
  std::vector<Oscillator> oscillators(omega.size() * static_cast<std::size_t>(nZeta));
  for (std::int32_t i = 0; i < nT; ++i) {
    const double k = omega[i] * (omega[i] * m);
    for (std::int32_t j = 0; j < nZeta; ++j)
      oscillators[i + j * nT] = {k, zeta[j], historyLength(nAg, zeta[j], omega[i], dt, nMax)};
  }
  return oscillators;
}

}  // namespace

std::int32_t fastElasticSpectra(const SpectraOutputs& out, const double* ag1, const double* ag2,
                                std::int32_t nAg, double dt, const double* T, std::int32_t nT,
                                double m, const double* zeta, std::int32_t nZeta, bool recform,
                                const char* allocationWarning) {
  // No histories are kept, but what they could not hold is refused all the same.
  const std::int64_t nMax = historyCapacity(nAg, zeta[0], T[nT - 1], dt);
  if (nMax > std::numeric_limits<std::int32_t>::max()) {
    warn("%s", allocationWarning);
    return -1;
  }
  try {
    const double pi = std::acos(-1.0);
    const double twoPi = pi + pi;
    std::vector<double> omega(static_cast<std::size_t>(nT));
    for (std::int32_t i = 0; i < nT; ++i) omega[i] = twoPi / T[i];
    const std::vector<Oscillator> oscillators = describePairs(nAg, dt, omega, m, zeta, nZeta, nMax);
    const ElasticMethod method = recform ? ElasticMethod::Recform : ElasticMethod::Newmark;
    const std::vector<OscillatorPeaks> peaks =
        ag2 == nullptr
            ? elasticPeaks(method, ag1, nAg, dt, m, oscillators, vectorUnit(), threadCount())
            : elasticPeaks2(method, ag1, ag2, nAg, dt, m, oscillators, vectorUnit(), threadCount());
    for (std::int32_t i = 0; i < nT; ++i) {
      out.f[i] = 1.0 / T[i];
      const double sqrtMK = std::sqrt(m * oscillators[i].k);
      for (std::int32_t j = 0; j < nZeta; ++j) {
        const std::int32_t idx = i + j * nT;
        const OscillatorPeaks& p = peaks[idx];
        const double z = zeta[j];
        out.dsp[idx] = p.dsp;
        out.vel[idx] = p.vel;
        out.acc[idx] = p.acc;
        out.totAcc[idx] = p.totAcc;
        out.rFrc[idx] = p.rFrc;
        writePseudoQuantities(out, idx, omega[i], m);
        out.resDsp[idx] = p.resDsp;
        writeDampingForce(out, idx, z, sqrtMK);
      }
    }
  } catch (const std::bad_alloc&) {
    warn("%s", allocationWarning);
    return -1;
  }
  return 0;
}

}  // namespace core
