// Newmark integration of a linear, viscously damped oscillator in incremental form.
#pragma once

#include <cstdint>

namespace core {

// The constants of one linear Newmark integration, formed once per call.
struct NewmarkConstants {
  double c;       // damping coefficient (ζ + ζ)·√(m·k)
  double c1, c2;  // velocity and acceleration per unit displacement increment
  double kEff;    // effective stiffness
  double bv, ba;  // velocity predictor from v and a
  double av, aa;  // acceleration predictor from v and a
};

NewmarkConstants newmarkConstants(double dt, double m, double zeta, double k, double beta,
                                  double gamma);

// Fills the same four histories as recform for m·ü + c·u̇ + k·u = −m·ag(t), c = 2ζ√(mk), with
// Newmark's β and γ (the drivers use β = 1/4, γ = 1/2: average acceleration, unconditionally
// stable, second order). One predictor and one exact linear corrector per step; the ground
// acceleration enters at the end of each step only. Any ζ ≥ 0 gives finite histories.
void newmark(double* u, double* v, double* a, double* fs, const double* ag, std::int32_t nAg,
             std::int32_t nTH, double dt, double m, double zeta, double k, double beta,
             double gamma);

}  // namespace core
