// The analyses the nonlinear lane engine runs and what it gives back, without vector types: for
// the drivers that hand analyses to it.
#pragma once

#include <cstdint>
#include <limits>

#include "core/numerics/substep_newmark.h"

namespace core::lanes {

// One analysis for a lane: the oscillator at rest (force law, mass, damping constant), its
// samples (at least 1) and the caller's name for it.
template <class Law>
struct LaneJob {
  SubstepOscillator<Law> osc;
  std::int32_t nTH;
  std::int64_t id;
};

// What one analysis gives, as the drivers take it from the full histories of
// core::integrateSubstepped: the peaks over samples 0 .. nTH − 1 of |u|, |v|, |a|, |a + ag| (|a|
// after the record) and |fs| (of the magnitudes of both components for two), each from 0 by
// strict greater-than updates, and |u| (the magnitude) at the last sample. A failed analysis
// reports the sub-step length of its warning instead.
struct LaneResult {
  bool failed = false;
  double dtSub = 0.0;  // the rejected sub-step that failed the analysis
  double dsp = 0.0, vel = 0.0, acc = 0.0, totAcc = 0.0, rFrc = 0.0, resDsp = 0.0;
  bool finite = true;  // every displacement sample a finite number
};

// What the analyses of one run share: the ground records, the time step, Newmark's factors and
// the module's sub-stepping limits.
template <std::size_t N>
struct LaneRun {
  GroundRecord<N> ground;
  double dt;
  NewmarkFactors f;
  SubstepLimits limits;
};

// Whether lanes may take the analyses of a run: a positive, finite time step, so that the first
// attempt of every step covers the whole step from time 0 (steps without time, or of NaN length,
// stay with the scalar loop).
inline bool lanesTakeTimeStep(double dt) {
  return dt > 0.0 && dt <= std::numeric_limits<double>::max();
}

// The most lanes the nonlinear engine advances together on any unit: blocks of jobs are made of
// multiples of it.
constexpr int kMostLanes = 16;

// Hands out the analyses of a run and takes their results. A finished job may make another ready
// (the next trial of a search).
template <class Law>
class JobSource {
 public:
  // A job ready to run now (valid until the next call), or null.
  virtual const LaneJob<Law>* next() = 0;
  virtual void finished(std::int64_t id, const LaneResult& result) = 0;

 protected:
  ~JobSource() = default;
};

}  // namespace core::lanes
