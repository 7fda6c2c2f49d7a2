// Console warnings of drivers and integrators. On the calling thread they go straight to the
// host's console; analyses running on other threads collect them, and the driver passes them on
// in the order a one-thread run would have printed them.
#pragma once

#include <string>

namespace core {

// printf-style text for the host console, or for the collector active on this thread.
void warn(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;

// While alive, warn() on this thread appends to `text` instead of printing.
class CollectWarnings {
 public:
  explicit CollectWarnings(std::string& text);
  ~CollectWarnings();
  CollectWarnings(const CollectWarnings&) = delete;
  CollectWarnings& operator=(const CollectWarnings&) = delete;

 private:
  std::string* previous_;
};

// Prints collected text through the host console (call on the host's thread), or hands it to
// the collector of an enclosing CollectWarnings.
void printCollected(const std::string& text);

}  // namespace core
