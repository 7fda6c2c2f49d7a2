// Granwick driver: per period and friction coefficient, the bidirectional isolator analysis, an
// elastic reference and an equivalent linear system, with every peak taken on the magnitude of
// the horizontal vector.
#include "granwick/driver.h"

#include <cmath>

#include "core/lanes/pair_lanes.h"
#include "core/numerics/magnitude.h"
#include "core/runtime/execution.h"
#include "core/runtime/period_loop.h"
#include "core/spectra/derived.h"
#include "core/spectra/isolator_pair.h"
#include "granwick/lanes.h"
#include "granwick/newmark_var.h"
#include "granwick/oscillator.h"

namespace granwick {

namespace {

const double kPi = std::acos(-1.0);
const double kTwoPi = kPi + kPi;

// The pendulum of one period and friction coefficient: its circular frequency, the weight
// W = m·g, the radius R = g/ω², the pendulum stiffness kp = W/R, the initial stiffness k1 (the
// friction element reaches the sliding force μ·W at uy) and the yield force Fy = k1·uy.
struct Pendulum {
  double omega, W, R, kp, k1, Fy;
};

Pendulum pendulumOf(const Inputs& in, std::int32_t i, std::int32_t j) {
  const double omega = kTwoPi / in.periods.data[i];
  const double W = in.m * in.g;
  const double R = in.g / (omega * omega);
  const double kp = W / R;
  const double k1 = ((in.frn.data[j] * W) / in.uy) + kp;
  return {omega, W, R, kp, k1, k1 * in.uy};
}

// The values of period i and friction coefficient j that follow from the peaks of its isolator
// analysis, already written with its residual displacement: pseudo and yield quantities and the
// equivalent linear system at the secant stiffness, with the damping ratio that dissipates the
// friction energy of one cycle at the peak displacement. Returns the two reference systems: the
// elastic one at the initial stiffness k1, undamped, and the equivalent linear one.
core::ReferenceSystems writeIsolatorValues(const core::SpectraOutputs& out, const Inputs& in,
                                           std::int32_t i, std::int32_t j) {
  const std::int32_t idx = i + j * in.periods.count;
  const Pendulum p = pendulumOf(in, i, j);
  const double mu = in.frn.data[j];
  const double uy = in.uy;
  core::writePseudoQuantities(out, idx, p.omega, in.m);
  out.dFrc[idx] = 0.0;
  core::writeYield(out, idx, p.omega, uy, p.Fy);
  const double keff = core::writeEffectivePeriod(out, idx, in.m, kTwoPi);
  const double dsp = out.dsp[idx];
  double zetaEff = (((dsp - uy) * (mu + mu)) * p.W) / ((kPi * out.rFrc[idx]) * dsp);
  if (zetaEff < 0) zetaEff = 0;
  out.effZeta[idx] = zetaEff;
  return {p.k1, 0.0, true, keff, zetaEff};
}

// Everything the driver writes for period i and friction coefficient j, one analysis at a time on
// full histories. A failed isolator analysis leaves the pair at zero.
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
  const char* module = "Granwick";
  core::Periods periods = in.periods;
  std::int32_t swept = in.frn.count;
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
    const Pendulum p = pendulumOf(in, i, j);
    return isolatedMass(in.m, 0.0, p.k1, in.frn.data[j], p.R, in.g);
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
  const Pendulum p = pendulumOf(in, i, j);
  const core::Histories& c1 = h.c1;
  const core::Histories& c2 = h.c2;
  return newmarkVar(c1.u, c2.u, c1.v, c2.v, c1.a, c2.a, c1.fs, c2.fs, in.ag1.data, in.ag2.data,
                    core::commonLength(in.ag1, in.ag2), c1.n, in.dt, in.m, 0.0, p.k1,
                    in.frn.data[j], p.R, 0.25, 0.5, in.g);
}

std::int32_t getSpectraStraightforward(const core::SpectraOutputs& out, const Inputs& in) {
  // Every analysis covers the record and as many samples again of free vibration, counted in 64
  // bits; a length beyond a 32-bit count fails the allocation. "pga" is the peak of the
  // resultant horizontal ground acceleration, not the larger component peak.
  return core::forEachPair(
      "Granwick", out, in.periods, in.frn.count, 8, historyLength(in),
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

}  // namespace granwick
