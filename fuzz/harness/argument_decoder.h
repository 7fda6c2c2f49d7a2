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
