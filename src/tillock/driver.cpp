// Tillock driver (mass and gravity): per period and friction coefficient one nonlinear analysis of
// the isolated mass and two linear reference analyses.
#include "tillock/driver.h"

#include <cmath>

#include "core/lanes/pair_lanes.h"
#include "core/numerics/peaks.h"
#include "core/runtime/execution.h"
#include "core/runtime/period_loop.h"
#include "core/spectra/derived.h"
#include "core/spectra/isolator_pair.h"
#include "tillock/lanes.h"
#include "tillock/newmark_var.h"
#include "tillock/oscillator.h"

namespace tillock {

namespace {

const double kPi = std::acos(-1.0);
const double kTwoPi = kPi * 2.0;

// The pendulum of one period: its circular frequency, the weight W = g·m, the radius R = g/ω²
// and the pendulum stiffness kp = W/R.
struct Pendulum {
  double omega, W, R, kp;
};

Pendulum pendulumOf(const Inputs& in, double period) {
  const double omega = kTwoPi / period;
  const double W = in.g * in.m;
  const double R = in.g / (omega * omega);
  return {omega, W, R, W / R};
}

// Initial stiffness: the friction element reaches the sliding force μ·W at uy.
double initialStiffness(const Pendulum& p, double mu, double uy) {
  return ((mu * p.W) / uy) + p.kp;
}

// Equivalent viscous damping of the bearing cycling at its peak displacement: friction energy
// 4·μ·W·(dsp − uy) of one cycle over 2π·rFrc·dsp. Without sliding (dsp < uy) the ratio would be
// negative and is set to 0; the strict test lets −0 and NaN through unchanged.
double equivalentDamping(double mu, double W, double dspPeak, double rFrcPeak, double uy) {
  double zetaEff = (((mu * 2.0) * W) * (dspPeak - uy)) / ((kPi * rFrcPeak) * dspPeak);
  if (zetaEff < 0) zetaEff = 0;
  return zetaEff;
}

// The values of period i and friction coefficient j that follow from the peaks of its isolator
// analysis, already written with its residual displacement: the pseudo quantities, the yield
// quantities and the equivalent linear system, the secant stiffness at the peak displacement.
// Returns the two reference systems: the elastic one at the initial stiffness, undamped, and the
// equivalent linear one.
core::ReferenceSystems writeIsolatorValues(const core::SpectraOutputs& out, const Inputs& in,
                                           std::int32_t i, std::int32_t j) {
  const std::int32_t idx = i + j * in.periods.count;
  const Pendulum p = pendulumOf(in, in.periods.data[i]);
  const double mu = in.frn.data[j];
  const double k1 = initialStiffness(p, mu, in.uy);
  core::writePseudoQuantities(out, idx, p.omega, in.m);
  out.dFrc[idx] = 0.0;  // the isolated mass has no viscous damping
  core::writeYield(out, idx, p.omega, in.uy, k1 * in.uy);
  const double keff = core::writeEffectivePeriod(out, idx, in.m, kTwoPi);
  const double zetaEff = equivalentDamping(mu, p.W, out.dsp[idx], out.rFrc[idx], in.uy);
  out.effZeta[idx] = zetaEff;
  return {k1, 0.0, true, keff, zetaEff};
}

// Everything the driver writes for period i and friction coefficient j, one analysis at a time on
// full histories; a failed integration leaves every entry of the pair at zero.
void writePair(const core::SpectraOutputs& out, const Inputs& in, std::int32_t i, std::int32_t j,
               const core::Histories& h) {
  if (analyseOscillator(in, i, j, h) != 0) return;
  core::writeIsolatorPair(out, i + j * in.periods.count, h, {in.ag.data, in.ag.count, in.dt, in.m},
                          [&] { return writeIsolatorValues(out, in, i, j); });
}

// The oscillator of period i and friction coefficient j as analyseOscillator integrates it.
core::SubstepOscillator<ForceLaw> oscillatorOf(const Inputs& in, std::int32_t i, std::int32_t j) {
  const Pendulum p = pendulumOf(in, in.periods.data[i]);
  const double mu = in.frn.data[j];
  return isolatedMass(in.m, 0.0, initialStiffness(p, mu, in.uy), mu, p.R, in.g);
}

// The call as the fast path of the isolator drivers sees it (core/lanes/pair_lanes.h).
struct InLanes {
  using Law = ForceLaw;
  const core::SpectraOutputs& out;
  const Inputs& in;
  const char* module = "Tillock";
  core::Periods periods = in.periods;
  std::int32_t swept = in.frn.count;
  std::int64_t length = historyLength(in);

  core::lanes::LaneRun<1> run() const {
    return {{{in.ag.data}, in.ag.count}, in.dt, core::newmarkFactors(0.25, 0.5), kSubsteps};
  }
  double pga() const { return core::peakGroundAcceleration(in.ag.data, in.ag.count); }
  double referenceMass() const { return in.m; }
  core::SubstepOscillator<Law> oscillator(std::int32_t i, std::int32_t j) const {
    return oscillatorOf(in, i, j);
  }
  core::ReferenceSystems values(std::int32_t i, std::int32_t j) const {
    return writeIsolatorValues(out, in, i, j);
  }
};

}  // namespace

std::int64_t historyLength(const Inputs& in) { return 2 * static_cast<std::int64_t>(in.ag.count); }

std::int32_t analyseOscillator(const Inputs& in, std::int32_t i, std::int32_t j,
                               const core::Histories& h) {
  const Pendulum p = pendulumOf(in, in.periods.data[i]);
  const double mu = in.frn.data[j];
  return newmarkVar(h.u, h.v, h.a, h.fs, in.ag.data, in.ag.count, h.n, in.dt, in.m, 0.0,
                    initialStiffness(p, mu, in.uy), mu, p.R, 0.25, 0.5, in.g);
}

std::int32_t getSpectraStraightforward(const core::SpectraOutputs& out, const Inputs& in) {
  // Histories counted in 64 bits; a length beyond a 32-bit count fails the allocation.
  return core::forEachPair(
      "Tillock", out, in.periods, in.frn.count, 4, historyLength(in),
      [&] { return core::peakGroundAcceleration(in.ag.data, in.ag.count); },
      [&](std::int32_t i, std::int32_t j, const core::Scratch& s) {
        writePair(out, in, i, j, core::historiesOf(s));
      });
}

std::int32_t getSpectra(const core::SpectraOutputs& out, const Inputs& in) {
  if (core::straightforward() || !core::lanes::lanesTakeTimeStep(in.dt))
    return getSpectraStraightforward(out, in);
  return core::lanes::isolatorSpectraInLanes(out, InLanes{out, in}, runLanes);
}

}  // namespace tillock
