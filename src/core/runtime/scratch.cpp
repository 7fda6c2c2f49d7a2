// Scratch allocation that reports failure as a status instead of an exception, since no C++
// exception may leave a gateway.
#include "core/runtime/scratch.h"

#include <algorithm>
#include <limits>
#include <new>

#include "core/runtime/execution.h"

namespace core {

bool allocateScratch(Scratch& scratch, int count, std::int64_t length) {
  scratch.storage.reset();
  scratch.length = 0;
  if (length < 1 || length > std::numeric_limits<std::int32_t>::max()) return false;
  const std::size_t total = static_cast<std::size_t>(count) * static_cast<std::size_t>(length);
  double* block = new (std::nothrow) double[total]();
  if (block == nullptr) return false;
  scratch.storage.reset(block);
  scratch.length = length;
  return true;
}

std::vector<Scratch> allocateWorkerScratch(int workers, int count, std::int64_t length) {
  std::vector<Scratch> sets;
  try {
    sets.reserve(static_cast<std::size_t>(std::max(workers, 1)));
    for (int w = 0; w < std::max(workers, 1); ++w) {
      Scratch scratch;
      if (!allocateScratch(scratch, count, length)) break;
      sets.push_back(std::move(scratch));
    }
  } catch (const std::bad_alloc&) {
    // Keep the sets obtained so far.
  }
  return sets;
}

int workersFor(std::int64_t items) {
  return static_cast<int>(std::max<std::int64_t>(1, std::min<std::int64_t>(threadCount(), items)));
}

}  // namespace core
