// Spreading independent work items over threads. Each item writes only its own outputs, so the
// results are identical for every thread count.
#pragma once

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <system_error>
#include <thread>
#include <vector>

namespace core {

// Calls body(item, worker) for item = 0 .. count − 1 on up to `threads` workers (worker is
// 0 .. workers − 1, for per-worker scratch). Items are handed out one at a time, so uneven
// items balance. Falls back to the calling thread when threads cannot be started.
template <class Body>
void parallelFor(std::int64_t count, int threads, Body&& body) {
  const int workers = static_cast<int>(std::min<std::int64_t>(std::max(threads, 1), count));
  if (workers <= 1) {
    for (std::int64_t item = 0; item < count; ++item) body(item, 0);
    return;
  }
  std::atomic<std::int64_t> next{0};
  auto work = [&](int worker) {
    for (std::int64_t item = next++; item < count; item = next++) body(item, worker);
  };
  std::vector<std::thread> pool;
  pool.reserve(static_cast<std::size_t>(workers - 1));
  try {
    for (int w = 1; w < workers; ++w) pool.emplace_back(work, w);
  } catch (const std::system_error&) {
    // Fewer threads than asked for: the ones running and this one share the items.
  }
  work(0);
  for (std::thread& t : pool) t.join();
}

}  // namespace core
