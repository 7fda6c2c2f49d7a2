// Inelastic response spectra: hardening oscillators whose strength follows one design parameter.
#pragma once

#include <cstdint>

namespace morbane {

// For every period T[i] and damping ratio zeta[j], analyses the elastic oscillator (exact
// recursive method), chooses the yield force from para as `method` says ("yieldStrength"/"fy",
// "yieldDisplacement"/"uy", "strengthReductionFactor"/"R", "ductilityFactor"/"mu"), analyses the
// hardening oscillator and writes its peaks and strength measures into the nT × nZeta
// column-major outputs at i + j·nT (zero on entry). An oscillator whose final analysis fails
// keeps zeros. Returns −1 with a console warning when the scratch histories cannot be allocated,
// when a ductility search does not converge, or for an unknown keyword.
std::int32_t getSpectra(double* pga, double* f, double* dsp, double* vel, double* acc,
                        double* totAcc, double* psdVel, double* psdAcc, double* resDsp,
                        double* iFrc, double* dFrc, double* rFrc, double* yieldDsp,
                        double* psdYieldVel, double* psdYieldAcc, double* yieldFrc, double* RFact,
                        double* muFact, double* gammaFact, const double* ag, std::int32_t nAg,
                        double dt, const double* T, std::int32_t nT, double m, const double* zeta,
                        std::int32_t nZeta, double kin, double iso, double para,
                        const char* method);

// The design parameter a keyword names; Unknown for any other text.
enum class Strength { YieldStrength, YieldDisplacement, ReductionFactor, Ductility, Unknown };

Strength strengthDefinition(const char* method);

}  // namespace morbane
