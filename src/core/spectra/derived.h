// The quantities every driver derives from the peaks of one oscillator, each formula written
// once. Operands appear in a fixed order and grouping; the drivers' results depend on it to the
// last bit.
#pragma once

#include <cmath>
#include <cstdint>

#include "core/spectra/outputs.h"

namespace core {

// Pseudo-velocity ω·Sd, pseudo-acceleration (ω·Sd)·ω and the inertial force m·(peak total
// acceleration) of oscillator idx, from the peaks already written.
inline void writePseudoQuantities(const SpectraOutputs& out, std::int32_t idx, double omega,
                                  double m) {
  out.psdVel[idx] = omega * out.dsp[idx];
  out.psdAcc[idx] = (omega * out.dsp[idx]) * omega;
  out.iFrc[idx] = m * out.totAcc[idx];
}

// The peak viscous damping force of a linear dashpot: the damping coefficient (ζ + ζ)·√(m·k),
// given as sqrtMK = √(m·k), times the peak velocity.
inline void writeDampingForce(const SpectraOutputs& out, std::int32_t idx, double zeta,
                              double sqrtMK) {
  out.dFrc[idx] = ((zeta + zeta) * sqrtMK) * out.vel[idx];
}

// Yield displacement uy and yield force fy with the pseudo quantities at yield, ω·uy and
// (ω·uy)·ω.
inline void writeYield(const SpectraOutputs& out, std::int32_t idx, double omega, double uy,
                       double fy) {
  out.yieldDsp[idx] = uy;
  out.psdYieldVel[idx] = omega * uy;
  out.psdYieldAcc[idx] = (omega * uy) * omega;
  out.yieldFrc[idx] = fy;
}

// The factors to the linear reference system of peak force fLinear and peak displacement
// uLinear: strength reduction fLinear/fy, ductility dsp/uy and displacement ratio dsp/uLinear.
inline void writeFactors(const SpectraOutputs& out, std::int32_t idx, double fLinear,
                         double uLinear, double fy) {
  out.RFact[idx] = fLinear / fy;
  out.muFact[idx] = out.dsp[idx] / out.yieldDsp[idx];
  out.gammaFact[idx] = out.dsp[idx] / uLinear;
}

// The secant stiffness at the peak, keff = rFrc/dsp, and the effective period √(m/keff)·2π it
// gives; returns keff.
inline double writeEffectivePeriod(const SpectraOutputs& out, std::int32_t idx, double m,
                                   double twoPi) {
  const double keff = out.rFrc[idx] / out.dsp[idx];
  out.effT[idx] = std::sqrt(m / keff) * twoPi;
  return keff;
}

// Viscous damping ratio whose energy per cycle matches a bilinear loop of characteristic strength
// Qd reaching the peak displacement dsp beyond the yield displacement uy: area 4·Qd·(dsp − uy)
// over 2π·rFrc·dsp. A literal "below zero" test sets negative ratios to 0: −0.0 and NaN stay.
inline double bilinearLoopDamping(double Qd, double dsp, double uy, double rFrc, double pi) {
  double zetaEff = ((Qd + Qd) * (dsp - uy)) / ((rFrc * pi) * dsp);
  if (zetaEff < 0.0) zetaEff = 0.0;
  return zetaEff;
}

// The factors to the equivalent linear system of peak force fEffective and peak displacement
// uEffective.
inline void writeEffectiveFactors(const SpectraOutputs& out, std::int32_t idx, double fEffective,
                                  double uEffective, double fy) {
  out.effRFact[idx] = fEffective / fy;
  out.effGammaFact[idx] = out.dsp[idx] / uEffective;
}

}  // namespace core
