// Exact recursive (piecewise-linear) integration of a linear, viscously damped oscillator.
#pragma once

#include <cstdint>

namespace core {

// The eight constant coefficients of the recurrence: displacement row (A, B, C, D) and velocity
// row (Ap, Bp, Cp, Dp), for ω = √(k/m) formed here, plus ω·(−2ζ) for the acceleration.
struct RecformCoefficients {
  double A, B, C, D;
  double Ap, Bp, Cp, Dp;
  double dampingRate;
};

RecformCoefficients recformCoefficients(double dt, double m, double zeta, double k);

// Fills samples 0 .. nTH - 1 of the relative displacement u, velocity v, acceleration a and
// restoring force fs = k·u of m·ü + 2ζωm·u̇ + k·u = −m·ag(t), with ω = √(k/m) formed here.
// The excitation is taken as linear between samples (exact for piecewise-linear ag; Nigam and
// Jennings' recurrence), and zero after the nAg record samples, so nTH > nAg adds a free-vibration
// tail. Defined for −1 < ζ < 1 and k/m > 0; otherwise every sample after the first is NaN.
void recform(double* u, double* v, double* a, double* fs, const double* ag, std::int32_t nAg,
             std::int32_t nTH, double dt, double m, double zeta, double k);

}  // namespace core
