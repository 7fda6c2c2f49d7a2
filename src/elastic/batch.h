// Elastic analyses of many oscillators at once: the fast path of the elastic driver.
#pragma once

#include <cstdint>

#include "core/execution.h"

namespace quorvel {

enum class Method { Recform, Newmark };

// One linear oscillator of a batch: stiffness, damping ratio and the samples it runs for.
struct Oscillator {
  double k;
  double zeta;
  std::int32_t nTH;
};

// The peaks of one analysis, as the elastic driver takes them from full histories.
struct OscillatorPeaks {
  double dsp, vel, acc, totAcc, rFrc, resDsp;
};

// Integrates every oscillator under ag with the given method and takes its peaks in the same
// pass, storing no history. Oscillators advance together in the lanes of the vector unit, each
// lane with exactly the operations, in the same order, of the one-oscillator integrator, so every
// peak is bit for bit what recform or newmark followed by the peak search gives. Oscillators
// should come sorted by decreasing nTH, so that lanes of one group run for similar lengths.
void batchPeaks(Method method, const double* ag, std::int32_t nAg, double dt, double m,
                const Oscillator* oscillators, std::int32_t count, OscillatorPeaks* peaks,
                core::VectorUnit unit);

// Oscillators one vector group of the unit holds.
int lanesOf(core::VectorUnit unit);

}  // namespace quorvel
