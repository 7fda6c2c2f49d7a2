// Pellory driver: per (period, strength) pair one bearing analysis and two linear reference
// analyses on the same scratch histories.
#include "pellory/driver.h"

#include <cmath>

#include "core/numerics/peaks.h"
#include "core/runtime/period_loop.h"
#include "core/spectra/derived.h"
#include "core/spectra/linear_reference.h"
#include "pellory/isolator.h"
#include "pellory/newmark_var.h"
#include "pellory/oscillator.h"

namespace pellory {

namespace {

const double kPi = std::acos(-1.0);
const double kTwoPi = kPi + kPi;

// Everything the driver writes for period i and strength j; a pair that does not converge keeps
// its zeros (the warning is already printed).
void writePair(const core::SpectraOutputs& out, const Inputs& in, std::int32_t i, std::int32_t j,
               const core::Histories& h) {
  if (analyseOscillator(in, i, j, h) != 0) return;
  const std::int32_t idx = i + j * in.periods.count;
  const Isolator b = isolatorOf(in, i, j);
  core::updatePeaks(
      h.u, h.v, h.a, h.fs, in.ag.data, in.ag.count, h.n,
      {out.dsp + idx, out.vel + idx, out.acc + idx, out.totAcc + idx, out.rFrc + idx});
  core::writePseudoQuantities(out, idx, b.omega, in.m);
  out.resDsp[idx] = std::fabs(h.u[h.n - 1]);
  out.dFrc[idx] = 0.0;
  core::writeYield(out, idx, b.omega, b.Fy / b.ku, b.Fy);

  const core::LinearPeaks elastic =
      core::linearPeaks(h, in.ag.data, in.ag.count, in.dt, in.m, 0.0, b.ku);
  core::writeFactors(out, idx, elastic.fMax, elastic.uMax, b.Fy);

  // Equivalent linear system: secant stiffness and the damping of the bilinear loop.
  const double keff = core::writeEffectivePeriod(out, idx, in.m, kTwoPi);
  const double zetaEff =
      core::bilinearLoopDamping(in.Qd.data[j], out.dsp[idx], out.yieldDsp[idx], out.rFrc[idx], kPi);
  out.effZeta[idx] = zetaEff;
  const core::LinearPeaks effective =
      core::linearPeaks(h, in.ag.data, in.ag.count, in.dt, in.m, zetaEff, keff);
  core::writeEffectiveFactors(out, idx, effective.fMax, effective.uMax, b.Fy);
}

}  // namespace

std::int64_t historyLength(const Inputs& in) { return 2 * static_cast<std::int64_t>(in.ag.count); }

std::int32_t analyseOscillator(const Inputs& in, std::int32_t i, std::int32_t j,
                               const core::Histories& h) {
  const Isolator b = isolatorOf(in, i, j);
  return newmarkVar(h.u, h.v, h.a, h.fs, in.ag.data, in.ag.count, h.n, in.dt, in.m, 0.0, b.ku,
                    in.Qd.data[j], in.alpha, 0.25, 0.5);
}

std::int32_t getSpectra(const core::SpectraOutputs& out, const Inputs& in) {
  // Histories counted in 64 bits; a length beyond a 32-bit count fails the allocation.
  return core::forEachPair(
      "Pellory", out, in.periods, in.Qd.count, 4, historyLength(in),
      [&] { return core::peakGroundAcceleration(in.ag.data, in.ag.count); },
      [&](std::int32_t i, std::int32_t j, const core::Scratch& s) {
        writePair(out, in, i, j, core::historiesOf(s));
      });
}

}  // namespace pellory
