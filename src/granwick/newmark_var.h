// Newmark integration of a mass on a friction-pendulum isolator under two horizontal ground
// components, with friction coupled in the plane.
#pragma once

#include <cstdint>

namespace granwick {

// Fills samples 0 .. nTH − 1 of the displacements u1, u2, velocities vel1, vel2, relative
// accelerations a1, a2 and isolator forces fs1, fs2 of the mass m shaken by ag1 and ag2 (nAg
// samples each, ground at rest afterwards). The isolator is a pendulum of radius R (stiffness
// kp = W/R in every direction, W = g·m) in parallel with a friction element of initial stiffness
// k1 − kp whose force is bounded by a circle of radius frn·W. Returns 0, or −1 with a console
// warning when a sub-step below 1e-8 still fails to converge.
std::int32_t newmarkVar(double* u1, double* u2, double* vel1, double* vel2, double* a1, double* a2,
                        double* fs1, double* fs2, const double* ag1, const double* ag2,
                        std::int32_t nAg, std::int32_t nTH, double dt, double m, double zeta,
                        double k1, double frn, double R, double beta, double gamma, double g);

}  // namespace granwick
