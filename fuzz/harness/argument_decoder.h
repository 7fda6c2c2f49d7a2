// Turning a fuzzer input into a gateway call: the argument count, each argument's class and shape,
// and values that range from typical ones to NaN, infinities, huge and subnormal numbers.
#pragma once

#include <cstdint>
#include <vector>

#include "core/runtime/execution.h"
#include "harness/byte_reader.h"
#include "harness/calling_forms.h"
#include "host/host.h"

namespace fuzz {

// Sizes that keep one call fast enough for fuzzing: every sample is analysed for every period
// and swept value.
constexpr int kMaxSamples = 2000;
constexpr int kMaxPeriods = 20;
constexpr int kMaxSwept = 6;
constexpr int kMaxInputs = 12;
// The sub-stepping integrators (every module but the elastic ones) halve their step until an
// iteration converges to an absolute tolerance, then walk the rest of the step at that size:
// with degenerate inputs one call runs for minutes to years (dt = 3e7 s, a damping ratio of -1,
// a hardening ratio near -1, accelerations of 1e18, a mass of 1e29 or -1, a pre-sliding
// displacement of 1e-16, a period of 1e-8 s, a softening of -0.5 in a ductility search; see
// fuzz/README.md). For those modules finite nonzero numbers are kept within what a record and an
// oscillator can be: samples within ±1e3, dt at most 0.1 s in size, other values from 1e-7 to
// 1e6 in size (periods from 1e-3 s), masses and pre-sliding displacements not negative (a
// displacement of -1e6 with a weight of 1e6 takes Tillock 17 s for 96 oscillators of 1621
// samples, +1e6 0.015 s), damping ratios at least -0.2,
// hardening ratios at least -0.1. NaN, infinities, zeros, period counts and every other input
// stay free.
constexpr double kLargestSubSteppedSample = 1e3;
constexpr double kLargestSubSteppedDt = 0.1;
constexpr double kSmallestSubSteppedValue = 1e-7;
constexpr double kLargestSubSteppedValue = 1e6;
constexpr double kSmallestSubSteppedPeriod = 1e-3;
constexpr double kSmallestSubSteppedZeta = -0.2;
constexpr double kSmallestSubSteppedHardening = -0.1;

// How the drivers run the call; none of it may change a result.
struct Execution {
  int threads = 1;
  core::VectorUnit unit = core::VectorUnit::None;
  bool straightforward = false;
  bool compareWithReference = false;  // run again one-threaded, straightforward, and compare
};

struct DecodedCall {
  int nlhs = 1;
  std::vector<host::Value> inputs;
  std::vector<Slot> slots;  // the kind each input was decoded as
  Execution execution;
};

// Input layout, one byte each unless stated:
//   form       index into the module's calling forms; one past the last: a count byte follows
//              (0 .. kMaxInputs inputs, kinds taken from the longest form, then arbitrary)
//   nlhs       below 240: 1; otherwise 0, 2 or 3
//   execution  bit 0 two threads, bits 1-2 vector unit, bit 3 straightforward, bit 4 compare
//   then per input: a shape byte (below 224: the valid class and shape for its slot; otherwise a
//   wrong class, complex, sparse, empty or matrix array) and the slot's payload.
// Payloads: a value byte (below 192: a typical value, one fraction byte follows; below 248: a
// special value; otherwise eight raw bytes); vectors a length byte then values; records a length
// (a byte, or 200 + two bytes), a content kind and its parameters, then spikes; texts a choice
// byte (below 200: a keyword or near miss; otherwise a length byte and raw bytes).
DecodedCall decodeCall(const ModuleForms& module, ByteReader& in);

}  // namespace fuzz
