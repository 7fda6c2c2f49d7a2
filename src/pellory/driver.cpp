// Pellory driver: per (period, strength) pair one bearing analysis and two linear reference
// analyses on the same scratch histories.
#include "pellory/driver.h"

#include <cmath>

#include "core/lanes/pair_lanes.h"
#include "core/numerics/peaks.h"
#include "core/runtime/execution.h"
#include "core/runtime/period_loop.h"
#include "core/spectra/derived.h"
#include "core/spectra/isolator_pair.h"
#include "pellory/isolator.h"
#include "pellory/lanes.h"
#include "pellory/newmark_var.h"
#include "pellory/oscillator.h"

namespace pellory {

namespace {

const double kPi = std::acos(-1.0);
const double kTwoPi = kPi + kPi;

// The values of period i and strength j that follow from the peaks of its bearing analysis,
// already written with its residual displacement: pseudo and yield quantities and the equivalent
// linear system (secant stiffness, damping of the bilinear loop). Returns the two reference
// systems: the elastic one at the elastic stiffness, undamped, and the equivalent linear one.
core::ReferenceSystems writeIsolatorValues(const core::SpectraOutputs& out, const Inputs& in,
                                           std::int32_t i, std::int32_t j) {
  const std::int32_t idx = i + j * in.periods.count;
  const Isolator b = isolatorOf(in, i, j);
  core::writePseudoQuantities(out, idx, b.omega, in.m);
  out.dFrc[idx] = 0.0;
  core::writeYield(out, idx, b.omega, b.Fy / b.ku, b.Fy);
  const double keff = core::writeEffectivePeriod(out, idx, in.m, kTwoPi);
  const double zetaEff =
      core::bilinearLoopDamping(in.Qd.data[j], out.dsp[idx], out.yieldDsp[idx], out.rFrc[idx], kPi);
  out.effZeta[idx] = zetaEff;
  return {b.ku, 0.0, true, keff, zetaEff};
}

// Everything the driver writes for period i and strength j, one analysis at a time on full
// histories; a pair that does not converge keeps its zeros (the warning is already printed).
void writePair(const core::SpectraOutputs& out, const Inputs& in, std::int32_t i, std::int32_t j,
               const core::Histories& h) {
  if (analyseOscillator(in, i, j, h) != 0) return;
  core::writeIsolatorPair(out, i + j * in.periods.count, h, {in.ag.data, in.ag.count, in.dt, in.m},
                          [&] { return writeIsolatorValues(out, in, i, j); });
}

// The call as the fast path of the isolator drivers sees it (core/lanes/pair_lanes.h).
struct InLanes {
  using Law = ForceLaw;
  const core::SpectraOutputs& out;
  const Inputs& in;
  const char* module = "Pellory";
  core::Periods periods = in.periods;
  std::int32_t swept = in.Qd.count;
  std::int64_t length = historyLength(in);

  core::lanes::LaneRun<1> run() const {
    return {{{in.ag.data}, in.ag.count}, in.dt, core::newmarkFactors(0.25, 0.5), kSubsteps};
  }
  double pga() const { return core::peakGroundAcceleration(in.ag.data, in.ag.count); }
  double referenceMass() const { return in.m; }
  // As analyseOscillator integrates it.
  core::SubstepOscillator<Law> oscillator(std::int32_t i, std::int32_t j) const {
    return bearingMass(in.m, 0.0, isolatorOf(in, i, j).ku, in.Qd.data[j], in.alpha);
  }
  core::ReferenceSystems values(std::int32_t i, std::int32_t j) const {
    return writeIsolatorValues(out, in, i, j);
  }
};

}  // namespace

std::int64_t historyLength(const Inputs& in) { return 2 * static_cast<std::int64_t>(in.ag.count); }

std::int32_t analyseOscillator(const Inputs& in, std::int32_t i, std::int32_t j,
                               const core::Histories& h) {
  const Isolator b = isolatorOf(in, i, j);
  return newmarkVar(h.u, h.v, h.a, h.fs, in.ag.data, in.ag.count, h.n, in.dt, in.m, 0.0, b.ku,
                    in.Qd.data[j], in.alpha, 0.25, 0.5);
}

std::int32_t getSpectraStraightforward(const core::SpectraOutputs& out, const Inputs& in) {
  // Histories counted in 64 bits; a length beyond a 32-bit count fails the allocation.
  return core::forEachPair(
      "Pellory", out, in.periods, in.Qd.count, 4, historyLength(in),
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

}  // namespace pellory
