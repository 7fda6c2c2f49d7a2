// Scratch allocation that reports failure as a status instead of an exception, since no C++
// exception may leave a gateway.
#include "core/scratch.h"

#include <limits>
#include <new>

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

}  // namespace core
