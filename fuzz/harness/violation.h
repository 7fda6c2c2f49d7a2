// A broken invariant found by a fuzz check: the fuzz targets abort on it, the regression tests
// report it as a failure.
#pragma once

#include <stdexcept>
#include <string>

namespace fuzz {

class Violation : public std::logic_error {
 public:
  explicit Violation(const std::string& what) : std::logic_error(what) {}
};

inline void require(bool condition, const std::string& what) {
  if (!condition) throw Violation(what);
}

}  // namespace fuzz
