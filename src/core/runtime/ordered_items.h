// Independent items of a driver (one period each) spread over threads, with their console
// warnings printed in the order a one-thread run prints them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/runtime/console.h"
#include "core/runtime/parallel.h"

namespace core {

// Runs body(item, worker) for item = 0 .. count − 1; body returns 0, or −1 to end the call. With
// one worker the items run in order on this thread and print as they go, and the first failure
// stops the loop. With more, every item runs and collects its warnings; they are then printed in
// item order up to the first failing item, whose status is returned. Items must write only their
// own outputs. Returns 0 when no item failed.
template <class Body>
std::int32_t runItemsInOrder(std::int64_t count, int workers, Body&& body) {
  if (workers <= 1) {
    for (std::int64_t item = 0; item < count; ++item)
      if (body(item, 0) != 0) return -1;
    return 0;
  }
  std::vector<std::string> text(static_cast<std::size_t>(count));
  std::vector<std::int32_t> status(static_cast<std::size_t>(count), 0);
  parallelFor(count, workers, [&](std::int64_t item, int worker) {
    CollectWarnings collect(text[item]);
    status[item] = body(item, worker);
  });
  for (std::int64_t item = 0; item < count; ++item) {
    printCollected(text[item]);
    if (status[item] != 0) return -1;
  }
  return 0;
}

}  // namespace core
