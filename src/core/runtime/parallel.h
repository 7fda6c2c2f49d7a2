// Spreading independent work items over threads. Each item writes only its own outputs, so the
// results are identical for every thread count.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>

namespace core {

// Runs work(worker) for worker = 0 .. workers − 1, worker 0 on the calling thread and the others
// on threads kept for the life of the process (starting a thread costs tens of microseconds,
// much of a small spectrum). A call made while the kept threads are busy starts its own threads;
// when threads cannot be had, fewer workers share the work. Returns when every worker is done;
// an exception thrown by any worker is then rethrown here (the first one, if several).
void runWorkers(int workers, const std::function<void(int)>& work);

// Calls body(item, worker) for item = 0 .. count − 1 on up to `threads` workers (worker is
// 0 .. workers − 1, for per-worker scratch). Items are handed out one at a time, in order, so
// uneven items balance.
template <class Body>
void parallelFor(std::int64_t count, int threads, Body&& body) {
  const int workers = static_cast<int>(std::min<std::int64_t>(std::max(threads, 1), count));
  if (workers <= 1) {
    for (std::int64_t item = 0; item < count; ++item) body(item, 0);
    return;
  }
  std::atomic<std::int64_t> next{0};
  runWorkers(workers, [&](int worker) {
    for (std::int64_t item = next++; item < count; item = next++) body(item, worker);
  });
}

}  // namespace core
