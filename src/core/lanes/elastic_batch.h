// Elastic analyses of many oscillators at once: the fast path of the elastic drivers.
#pragma once

#include <cstdint>
#include <vector>

#include "core/runtime/execution.h"

namespace core {

enum class ElasticMethod { Recform, Newmark };

// One linear oscillator: stiffness, damping ratio and the samples its analysis runs for.
struct Oscillator {
  double k;
  double zeta;
  std::int32_t nTH;
};

// The peaks of one analysis, as the elastic drivers take them from full histories: of |u|, |v|,
// |a|, |a + ag| (|a| after the record) and |fs|, and |u| at the last sample. For two components
// every one of them is the magnitude of the pair.
struct OscillatorPeaks {
  double dsp, vel, acc, totAcc, rFrc, resDsp;
};

// Integrates every oscillator under ag (recform, or newmark with β = 1/4, γ = 1/2) and takes its
// peaks in the same pass, storing no history. Oscillators advance together in the lanes of the
// vector unit, each lane with exactly the operations, in the same order, of the one-oscillator
// integrator, so every peak is bit for bit what the integrator followed by the peak search gives.
// The work is spread over `threads` threads; peaks come back in the order of `oscillators`.
std::vector<OscillatorPeaks> elasticPeaks(ElasticMethod method, const double* ag,
                                          std::int32_t nAg, double dt, double m,
                                          const std::vector<Oscillator>& oscillators,
                                          VectorUnit unit, int threads);

// Which peaks of a two-component analysis are taken: all, or only dsp and rFrc (the linear
// reference systems of the isolators), the others then 0.
enum class PeaksWanted { All, DisplacementAndForce };

// The same under two horizontal components integrated independently, with every peak taken on
// the magnitude √(pow(x, 2) + pow(y, 2)). Magnitudes are formed exactly only for samples whose
// cheap estimate x·x + y·y could beat the running peak, so the results are those of forming all.
std::vector<OscillatorPeaks> elasticPeaks2(ElasticMethod method, const double* ag1,
                                           const double* ag2, std::int32_t nAg, double dt,
                                           double m, const std::vector<Oscillator>& oscillators,
                                           VectorUnit unit, int threads,
                                           PeaksWanted wanted = PeaksWanted::All);

// Oscillators one vector group of the unit holds.
int lanesOf(VectorUnit unit);

}  // namespace core
