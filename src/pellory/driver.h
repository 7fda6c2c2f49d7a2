// Lead-rubber-bearing spectra: peaks of a mass on a bilinear isolator over post-yield periods and
// characteristic strengths, with yield, reduction and equivalent-linear quantities.
#pragma once

#include <cstdint>

namespace pellory {

// For every post-yield period T[j] and characteristic strength Qd[q], integrates the bearing
// (post-yield stiffness m·ω², elastic stiffness m·ω²/alpha, no viscous damping) under ag for
// 2·nAg samples, then two linear analyses (at the elastic stiffness, and at the effective
// stiffness and damping), and writes the nT × nQd column-major outputs at j + q·nT, which must
// be zero on entry. A pair whose analysis does not converge stays zero. Returns 0, or −1 with a
// console warning when the scratch histories cannot be allocated.
std::int32_t getSpectra(double* pga, double* f, double* dsp, double* vel, double* acc,
                        double* totAcc, double* psdVel, double* psdAcc, double* resDsp,
                        double* iFrc, double* dFrc, double* rFrc, double* yieldDsp,
                        double* psdYieldVel, double* psdYieldAcc, double* yieldFrc,
                        double* muFact, double* RFact, double* gammaFact, double* effT,
                        double* effZeta, double* effRFact, double* effGammaFact, const double* ag,
                        std::int32_t nAg, double dt, const double* T, std::int32_t nT, double m,
                        const double* Qd, std::int32_t nQd, double alpha);

}  // namespace pellory
