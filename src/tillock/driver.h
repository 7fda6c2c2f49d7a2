// Friction-pendulum isolator spectra (mass-and-gravity variant): peaks of the isolated mass, the
// isolator's characteristics and two reference linear systems per period and friction coefficient.
#pragma once

#include <cstdint>

namespace tillock {

// For every pendulum period T[i] and friction coefficient frn[j], integrates the mass m on a
// friction-pendulum isolator (gravity g, pre-sliding displacement uy) under ag over the record
// plus a free-vibration tail of the record's length, and writes peaks, yield quantities, the
// ratios to the elastic system of initial stiffness and the equivalent-linear quantities into the
// nT × nFrn column-major outputs at i + j·nT (which must be zero on entry). A pair whose
// integration fails keeps its zeros. Returns 0, or −1 with a console warning when the scratch
// histories cannot be allocated.
std::int32_t getSpectra(double* pga, double* f, double* dsp, double* vel, double* acc,
                        double* totAcc, double* psdVel, double* psdAcc, double* resDsp,
                        double* iFrc, double* dFrc, double* rFrc, double* yieldDsp,
                        double* psdYieldVel, double* psdYieldAcc, double* yieldFrc,
                        double* muFact, double* RFact, double* gammaFact, double* effT,
                        double* effZeta, double* effRFact, double* effGammaFact,
                        const double* ag, std::int32_t nAg, double dt, const double* T,
                        std::int32_t nT, double m, const double* frn, std::int32_t nFrn,
                        double uy, double g);

}  // namespace tillock
