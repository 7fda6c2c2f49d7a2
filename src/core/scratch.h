// Scratch time-history vectors of one driver call: allocated zero-filled once, reused by every
// analysis of the call, released on every return path.
#pragma once

#include <cstdint>
#include <memory>

namespace core {

struct Scratch {
  std::unique_ptr<double[]> storage;
  std::int64_t length = 0;

  double* vector(int index) { return storage.get() + index * length; }
};

// Allocates count zero-filled vectors of length samples each. Returns false, with nothing held,
// when the memory cannot be had or the length does not fit a 32-bit sample count.
bool allocateScratch(Scratch& scratch, int count, std::int64_t length);

}  // namespace core
