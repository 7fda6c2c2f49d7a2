// The periods of a driver call spread over threads, each worker with its own scratch histories,
// warnings printed in period order.
#pragma once

#include <cstdint>
#include <vector>

#include "core/runtime/console.h"
#include "core/runtime/ordered_items.h"
#include "core/runtime/scratch.h"
#include "core/spectra/outputs.h"
#include "core/spectra/series.h"

namespace core {

class PeriodLoop {
 public:
  // Allocates `vectors` zero-filled histories of `length` samples for each worker thread (fewer
  // workers when memory runs short). When not even one set can be had, or the length does not
  // fit a 32-bit sample count, prints the module's allocation warning and is not ready.
  PeriodLoop(const char* module, std::int32_t nT, int vectors, std::int64_t length)
      : nT_(nT), scratch_(allocateWorkerScratch(workersFor(nT), vectors, length)) {
    if (scratch_.empty())
      warn("??? %s::getSpectra - failed to create time-history vectors\n", module);
  }

  bool ready() const { return !scratch_.empty(); }

  // Samples of every history.
  std::int32_t length() const { return static_cast<std::int32_t>(scratch_[0].length); }

  // Calls body(i, scratch) for every period i, the scratch being the calling worker's; body
  // returns 0, or −1 to fail the call (see runItemsInOrder).
  template <class Body>
  std::int32_t run(Body&& body) const {
    return runItemsInOrder(nT_, static_cast<int>(scratch_.size()), [&](std::int64_t i, int worker) {
      return body(static_cast<std::int32_t>(i), scratch_[worker]);
    });
  }

 private:
  std::int32_t nT_;
  std::vector<Scratch> scratch_;
};

// The loop of the isolator drivers: scratch histories for every worker, then "pga" = peak() and,
// period by period, "f" and every pair (i, j) of period and swept value through
// writePair(i, j, scratch). Nothing is read or written when the histories cannot be had; returns
// the status of the call.
template <class Peak, class WritePair>
std::int32_t forEachPair(const char* module, const SpectraOutputs& out, const Periods& periods,
                         std::int32_t nSwept, int vectors, std::int64_t length, Peak&& peak,
                         WritePair&& writePair) {
  const PeriodLoop loop(module, periods.count, vectors, length);
  if (!loop.ready()) return -1;
  *out.pga = peak();
  return loop.run([&](std::int32_t i, const Scratch& scratch) {
    out.f[i] = 1.0 / periods.data[i];
    for (std::int32_t j = 0; j < nSwept; ++j) writePair(i, j, scratch);
    return 0;
  });
}

}  // namespace core
