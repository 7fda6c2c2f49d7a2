// Slow, obviously correct references for the tests: test records and a fine-step Runge-Kutta
// integration of the linear oscillator.
#pragma once

#include <vector>

namespace support {

// A deterministic record of n samples: a few sinusoids under a rise-and-decay envelope.
std::vector<double> testRecord(int n, double dt, double peak = 1.0);

struct History {
  std::vector<double> u, v, a;  // relative displacement, velocity, acceleration
};

// m·ü + 2ζω·m·u̇ + ω²·m·u = −m·ag(t), ag linear between samples and zero after the record,
// integrated by classical fourth-order Runge-Kutta with `substeps` steps per sample.
History referenceLinear(const std::vector<double>& ag, int nTH, double dt, double omega,
                        double zeta, int substeps = 64);

}  // namespace support
