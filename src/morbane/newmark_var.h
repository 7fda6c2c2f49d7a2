// Newmark integration of an inelastic oscillator with automatic sub-stepping.
#pragma once

#include <cstdint>

namespace morbane {

// Fills u, v, a, fs (nTH entries) for m·ü + c·u̇ + fs(u) = −m·ag(t) with the hardening material
// (yield force fy, kinematic/isotropic hardening ratios kin, iso); `module` names the module in
// the warning text. Returns 0 on success and −1 when no sub-step converges.
std::int32_t newmarkVar(double* u, double* v, double* a, double* fs, const double* ag,
                        std::int32_t nAg, std::int32_t nTH, double dt, double m, double zeta,
                        double k, double fy, double kin, double iso, double beta, double gamma,
                        const char* module);

}  // namespace morbane
