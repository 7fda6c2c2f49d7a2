// Runs a piece of code as if it were a host call, so that what it prints through mexPrintf can be
// checked.
#pragma once

#include <functional>
#include <string>

#include "host/host.h"

namespace support {

inline std::string consoleOf(const std::function<void()>& body) {
  static const std::function<void()>* current = nullptr;
  current = &body;
  const host::Outcome outcome =
      host::call([](int, mxArray**, int, const mxArray**) { (*current)(); }, 0, {});
  current = nullptr;
  return outcome.console;
}

}  // namespace support
