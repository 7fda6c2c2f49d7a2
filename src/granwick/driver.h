// Two-component friction-pendulum isolator spectra over periods and friction coefficients.
#pragma once

#include <cstdint>

namespace granwick {

// For every pendulum period T[i] and friction coefficient frn[j], integrates the isolated mass m
// under both components ag1 and ag2 (nAg samples each, then nAg samples of ground at rest) with
// gravity g and pre-sliding displacement uy, and writes the peaks of the resultant responses, the
// isolator characteristics and the factors relating them to two linear reference systems into the
// nT × nFrn column-major outputs at i + j·nT (which must be zero on entry). A pair whose
// integration does not converge keeps zeros. Returns 0, or −1 with a console warning when the
// scratch histories cannot be allocated.
std::int32_t getSpectra(double* pga, double* f, double* dsp, double* vel, double* acc,
                        double* totAcc, double* psdVel, double* psdAcc, double* resDsp,
                        double* iFrc, double* dFrc, double* rFrc, double* yieldDsp,
                        double* psdYieldVel, double* psdYieldAcc, double* yieldFrc, double* muFact,
                        double* RFact, double* gammaFact, double* effT, double* effZeta,
                        double* effRFact, double* effGammaFact, const double* ag1,
                        const double* ag2, std::int32_t nAg, double dt, const double* T,
                        std::int32_t nT, double m, const double* frn, std::int32_t nFrn, double uy,
                        double g);

}  // namespace granwick
