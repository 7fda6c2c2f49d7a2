// Elastic response spectra: peaks of linear oscillators over periods and damping ratios.
#pragma once

#include <cstdint>

namespace quorvel {

// For every period T[i] and damping ratio zeta[j], integrates the linear oscillator of mass m
// under ag (by "recform" or "newmark") over the record plus a free-vibration tail, and writes the
// peaks into the nT × nZeta column-major outputs at i + j·nT (which must be zero on entry).
// Returns 0, or −1 with a console warning when the scratch histories cannot be allocated.
// Oscillators advance several at a time in vector lanes and spread over core::threadCount()
// threads; the results are bit for bit those of the straightforward path below.
std::int32_t getSpectra(double* pga, double* f, double* dsp, double* vel, double* acc,
                        double* totAcc, double* psdVel, double* psdAcc, double* resDsp,
                        double* iFrc, double* dFrc, double* rFrc, const double* ag,
                        std::int32_t nAg, double dt, const double* T, std::int32_t nT, double m,
                        const double* zeta, std::int32_t nZeta, const char* method);

// The same spectra, one oscillator at a time through full time histories, as the algorithm is
// written; getSpectra takes this path when core::straightforward() is set.
std::int32_t getSpectraStraightforward(double* pga, double* f, double* dsp, double* vel,
                                       double* acc, double* totAcc, double* psdVel,
                                       double* psdAcc, double* resDsp, double* iFrc, double* dFrc,
                                       double* rFrc, const double* ag, std::int32_t nAg,
                                       double dt, const double* T, std::int32_t nT, double m,
                                       const double* zeta, std::int32_t nZeta,
                                       const char* method);

}  // namespace quorvel
