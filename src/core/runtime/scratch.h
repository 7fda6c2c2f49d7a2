// Scratch time-history vectors of one driver call: allocated zero-filled once, reused by every
// analysis of the call, released on every return path.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace core {

struct Scratch {
  std::unique_ptr<double[]> storage;
  std::int64_t length = 0;

  double* vector(int index) const { return storage.get() + index * length; }
};

// Allocates count zero-filled vectors of length samples each. Returns false, with nothing held,
// when the memory cannot be had or the length does not fit a 32-bit sample count.
bool allocateScratch(Scratch& scratch, int count, std::int64_t length);

// One set of scratch vectors for each of up to `workers` threads, as many as memory allows;
// empty when not even one set can be had.
std::vector<Scratch> allocateWorkerScratch(int workers, int count, std::int64_t length);

// Threads worth starting for `items` independent items: core::threadCount(), at most one per item.
int workersFor(std::int64_t items);

}  // namespace core
