// Vintarrow driver: per (period, strength) pair one coupled bearing analysis and two pairs of
// linear reference analyses, all peaks on resultants.
#include "vintarrow/driver.h"

#include <cmath>

#include "core/lanes/pair_lanes.h"
#include "core/numerics/magnitude.h"
#include "core/runtime/execution.h"
#include "core/runtime/period_loop.h"
#include "core/spectra/derived.h"
#include "core/spectra/isolator_pair.h"
#include "pellory/isolator.h"
#include "vintarrow/lanes.h"
#include "vintarrow/newmark_var.h"
#include "vintarrow/oscillator.h"

namespace vintarrow {

namespace {

const double kPi = std::acos(-1.0);
const double kTwoPi = kPi + kPi;

using pellory::isolatorOf;

// The values of period i and strength j that follow from the peaks of its bearing analysis,
// already written with its residual displacement: pseudo and yield quantities and the equivalent
// linear system at the secant stiffness of the peak resultant, with the damping of the bilinear
// loop. Returns the two reference systems: the elastic one at the elastic stiffness, undamped, and
// the equivalent linear one.
core::ReferenceSystems writeIsolatorValues(const core::SpectraOutputs& out, const Inputs& in,
                                           std::int32_t i, std::int32_t j) {
  const std::int32_t idx = i + j * in.periods.count;
  const pellory::Isolator b = isolatorOf(in, i, j);
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
               const core::Histories2& h) {
  if (analyseOscillator(in, i, j, h) != 0) return;
  core::writeIsolatorPair(
      out, i + j * in.periods.count, h,
      {in.ag1.data, in.ag2.data, core::commonLength(in.ag1, in.ag2), in.dt, in.m},
      [&] { return writeIsolatorValues(out, in, i, j); });
}

// The call as the fast path of the isolator drivers sees it (core/lanes/pair_lanes.h).
struct InLanes {
  using Law = ForceLaw;
  const core::SpectraOutputs& out;
  const Inputs& in;
  const char* module = "Vintarrow";
  core::Periods periods = in.periods;
  std::int32_t swept = in.Qd.count;
  std::int64_t length = historyLength(in);

  core::lanes::LaneRun<2> run() const {
    return {{{in.ag1.data, in.ag2.data}, core::commonLength(in.ag1, in.ag2)},
            in.dt,
            core::newmarkFactors(0.25, 0.5),
            kSubsteps};
  }
  double pga() const {
    return core::peakMagnitude(in.ag1.data, in.ag2.data, core::commonLength(in.ag1, in.ag2));
  }
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

std::int64_t historyLength(const Inputs& in) {
  return 2 * static_cast<std::int64_t>(core::commonLength(in.ag1, in.ag2));
}

std::int32_t analyseOscillator(const Inputs& in, std::int32_t i, std::int32_t j,
                               const core::Histories2& h) {
  const pellory::Isolator b = isolatorOf(in, i, j);
  const core::Histories& c1 = h.c1;
  const core::Histories& c2 = h.c2;
  return newmarkVar(c1.u, c2.u, c1.v, c2.v, c1.a, c2.a, c1.fs, c2.fs, in.ag1.data, in.ag2.data,
                    core::commonLength(in.ag1, in.ag2), c1.n, in.dt, in.m, 0.0, b.ku, in.Qd.data[j],
                    in.alpha, 0.25, 0.5);
}

std::int32_t getSpectraStraightforward(const core::SpectraOutputs& out, const Inputs& in) {
  // Histories counted in 64 bits; a length beyond a 32-bit count fails the allocation.
  return core::forEachPair(
      "Vintarrow", out, in.periods, in.Qd.count, 8, historyLength(in),
      [&] {
        return core::peakMagnitude(in.ag1.data, in.ag2.data, core::commonLength(in.ag1, in.ag2));
      },
      [&](std::int32_t i, std::int32_t j, const core::Scratch& s) {
        writePair(out, in, i, j, core::histories2Of(s));
      });
}

std::int32_t getSpectra(const core::SpectraOutputs& out, const Inputs& in) {
  if (core::straightforward() || !core::lanes::lanesTakeTimeStep(in.dt))
    return getSpectraStraightforward(out, in);
  return core::lanes::isolatorSpectraInLanes(out, InLanes{out, in}, runLanes);
}

}  // namespace vintarrow
