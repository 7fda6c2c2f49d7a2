// Two-component lead-rubber-bearing spectra: peaks of the resultant response of a mass on an
// isolator with a circular yield surface, over post-yield periods and characteristic strengths.
#pragma once

#include <cstdint>

namespace vintarrow {

// As the one-component bearing spectra, with ag1 and ag2 acting together (nAg samples of each)
// and every peak, "pga" and "resDsp" taken on the vector magnitude of the two components. The
// nT × nQd column-major outputs at j + q·nT must be zero on entry; a pair whose analysis does not
// converge stays zero. Returns 0, or −1 with a console warning when the scratch histories cannot
// be allocated.
std::int32_t getSpectra(double* pga, double* f, double* dsp, double* vel, double* acc,
                        double* totAcc, double* psdVel, double* psdAcc, double* resDsp,
                        double* iFrc, double* dFrc, double* rFrc, double* yieldDsp,
                        double* psdYieldVel, double* psdYieldAcc, double* yieldFrc,
                        double* muFact, double* RFact, double* gammaFact, double* effT,
                        double* effZeta, double* effRFact, double* effGammaFact,
                        const double* ag1, const double* ag2, std::int32_t nAg, double dt,
                        const double* T, std::int32_t nT, double m, const double* Qd,
                        std::int32_t nQd, double alpha);

}  // namespace vintarrow
