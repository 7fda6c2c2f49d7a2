// Two-component elastic response spectra: peaks of the horizontal response vector of linear
// oscillators over periods and damping ratios.
#pragma once

#include <cstdint>

namespace daskent {

// For every period T[i] and damping ratio zeta[j], integrates the linear oscillator of mass m
// under each component ag1 and ag2 (by "recform" or "newmark", both over nAg record samples plus
// the same free-vibration tail) and writes the peaks over time of the resultants √(x1² + x2²)
// into the nT × nZeta column-major outputs at i + j·nT (which must be zero on entry). "pga" is
// the peak resultant ground acceleration. Returns 0, or −1 with a console warning when the
// scratch histories cannot be allocated. Oscillators advance several at a time in vector lanes
// over core::threadCount() threads, bit for bit as the straightforward path below.
std::int32_t getSpectra(double* pga, double* f, double* dsp, double* vel, double* acc,
                        double* totAcc, double* psdVel, double* psdAcc, double* resDsp,
                        double* iFrc, double* dFrc, double* rFrc, const double* ag1,
                        const double* ag2, std::int32_t nAg, double dt, const double* T,
                        std::int32_t nT, double m, const double* zeta, std::int32_t nZeta,
                        const char* method);

// The same spectra one oscillator at a time through full histories of both components, as the
// algorithm is written; getSpectra takes this path when core::straightforward() is set.
std::int32_t getSpectraStraightforward(double* pga, double* f, double* dsp, double* vel,
                                       double* acc, double* totAcc, double* psdVel,
                                       double* psdAcc, double* resDsp, double* iFrc, double* dFrc,
                                       double* rFrc, const double* ag1, const double* ag2,
                                       std::int32_t nAg, double dt, const double* T,
                                       std::int32_t nT, double m, const double* zeta,
                                       std::int32_t nZeta, const char* method);

}  // namespace daskent
