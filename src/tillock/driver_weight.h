// Friction-pendulum isolator spectra (weight variant): the bearing's bilinear law taken from the
// hardening material, for a given weight under a fixed gravity.
#pragma once

#include <cstdint>

namespace tillock::weight {

// Gravity of the weight variant: standard gravity in in/s², so ag is in in/s² and uy in inches.
constexpr double kGravity = 386.1;

// For every pendulum period T[i] and friction coefficient frn[j], integrates the mass W/g on a
// friction-pendulum isolator (pre-sliding displacement uy) under ag over the record plus a
// free-vibration tail of the record's length, and writes peaks, yield quantities and the ratios
// to the elastic system of initial stiffness into the nT × nFrn column-major outputs at
// i + j·nT (which must be zero on entry). A pair whose integration fails keeps its zeros.
// Returns 0, or −1 with a console warning when the scratch histories cannot be allocated.
std::int32_t getSpectra(double* pga, double* f, double* dsp, double* vel, double* acc,
                        double* totAcc, double* psdVel, double* psdAcc, double* resDsp,
                        double* iFrc, double* dFrc, double* rFrc, double* yieldDsp,
                        double* psdYieldVel, double* psdYieldAcc, double* yieldFrc,
                        double* RFact, double* muFact, double* gammaFact, const double* ag,
                        std::int32_t nAg, double dt, const double* T, std::int32_t nT, double W,
                        const double* frn, std::int32_t nFrn, double uy, double g);

}  // namespace tillock::weight
