// Tillock driver, weight variant: per period and friction coefficient an elastic reference
// analysis and the bilinear (kinematic-hardening) analysis of the isolated mass.
#include "tillock/driver_weight.h"

#include <cmath>

#include "core/lanes/pair_lanes.h"
#include "core/numerics/peaks.h"
#include "core/runtime/execution.h"
#include "core/runtime/period_loop.h"
#include "core/spectra/derived.h"
#include "core/spectra/isolator_pair.h"
#include "morbane/lanes.h"
#include "morbane/newmark_var.h"
#include "tillock/oscillator.h"

namespace tillock::weight {

namespace {

const double kTwoPi = std::acos(-1.0) + std::acos(-1.0);

// The isolator of one period and friction coefficient: the mass W/g, the pendulum stiffness kp,
// the initial stiffness k1 and the yield (sliding) force Fy = uy·k1.
struct Isolator {
  double omega, m, kp, k1, Fy;
};

Isolator isolatorOf(const Inputs& in, std::int32_t i, std::int32_t j) {
  const double omega = kTwoPi / in.periods.data[i];
  const double kp = in.W / ((kGravity / omega) / omega);
  const double k1 = ((in.W * in.frn.data[j]) / in.uy) + kp;
  return {omega, in.W / kGravity, kp, k1, in.uy * k1};
}

// The values of period i and friction coefficient j that follow from the peaks of its bilinear
// analysis, already written with its residual displacement. Returns its reference system: the
// elastic one at the initial stiffness, undamped.
core::ReferenceSystems writeIsolatorValues(const core::SpectraOutputs& out, const Inputs& in,
                                           std::int32_t i, std::int32_t j) {
  const std::int32_t idx = i + j * in.periods.count;
  const Isolator b = isolatorOf(in, i, j);
  core::writePseudoQuantities(out, idx, b.omega, b.m);
  out.dFrc[idx] = 0.0;  // the isolated mass has no viscous damping
  core::writeYield(out, idx, b.omega, in.uy, b.Fy);
  return {b.k1, 0.0, false, 0.0, 0.0};
}

// Everything the driver writes for period i and friction coefficient j, one analysis at a time on
// full histories. The elastic reference runs first, since the bilinear analysis overwrites the
// histories; a failed integration leaves every entry of the pair at zero.
void writePair(const core::SpectraOutputs& out, const Inputs& in, std::int32_t i, std::int32_t j,
               const core::Histories& h) {
  const std::int32_t idx = i + j * in.periods.count;
  const Isolator b = isolatorOf(in, i, j);
  const core::LinearPeaks elastic =
      core::linearPeaks(h, in.ag.data, in.ag.count, in.dt, b.m, 0.0, b.k1);

  if (analyseOscillator(in, i, j, h) != 0) return;
  core::updatePeaks(
      h.u, h.v, h.a, h.fs, in.ag.data, in.ag.count, h.n,
      {out.dsp + idx, out.vel + idx, out.acc + idx, out.totAcc + idx, out.rFrc + idx});
  out.resDsp[idx] = std::fabs(h.u[h.n - 1]);
  writeIsolatorValues(out, in, i, j);
  core::writeReferenceFactors(out, idx, elastic);
}

// The bilinear analysis of period i and friction coefficient j (see analyseOscillator).
core::SubstepOscillator<morbane::ForceLaw> oscillatorOf(const Inputs& in, std::int32_t i,
                                                        std::int32_t j) {
  const Isolator b = isolatorOf(in, i, j);
  return morbane::hardeningOscillator(b.m, 0.0, b.k1, b.Fy, b.kp / (b.k1 - b.kp), 0.0, "Tillock");
}

// The call as the fast path of the isolator drivers sees it (core/lanes/pair_lanes.h).
struct InLanes {
  using Law = morbane::ForceLaw;
  const core::SpectraOutputs& out;
  const Inputs& in;
  const char* module = "Tillock";
  core::Periods periods = in.periods;
  std::int32_t swept = in.frn.count;
  std::int64_t length = historyLength(in);

  core::lanes::LaneRun<1> run() const {
    return {{{in.ag.data}, in.ag.count},
            in.dt,
            core::newmarkFactors(0.25, 0.5),
            morbane::substepLimits("Tillock")};
  }
  double pga() const { return core::peakGroundAcceleration(in.ag.data, in.ag.count); }
  double referenceMass() const { return in.W / kGravity; }
  core::SubstepOscillator<Law> oscillator(std::int32_t i, std::int32_t j) const {
    return oscillatorOf(in, i, j);
  }
  core::ReferenceSystems values(std::int32_t i, std::int32_t j) const {
    return writeIsolatorValues(out, in, i, j);
  }
};

}  // namespace

std::int64_t historyLength(const Inputs& in) { return 2 * static_cast<std::int64_t>(in.ag.count); }

// The isolator as a kinematic-hardening material: initial stiffness k1 up to the yield force,
// then the post-yield tangent k1·Hkin/(k1 + Hkin) = kp for the hardening ratio kp/(k1 − kp).
// Integrated by the sub-stepping Newmark scheme without viscous damping. Without friction
// (k1 = kp) the ratio is infinite and the material's back stress turns NaN at the first yield:
// this variant's results are then not numbers, unlike the mass variant's linear pendulum.
std::int32_t analyseOscillator(const Inputs& in, std::int32_t i, std::int32_t j,
                               const core::Histories& h) {
  const Isolator b = isolatorOf(in, i, j);
  return morbane::newmarkVar(h.u, h.v, h.a, h.fs, in.ag.data, in.ag.count, h.n, in.dt, b.m, 0.0,
                             b.k1, b.Fy, b.kp / (b.k1 - b.kp), 0.0, 0.25, 0.5, "Tillock");
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
  return core::lanes::isolatorSpectraInLanes(out, InLanes{out, in}, morbane::runLanes);
}

}  // namespace tillock::weight
