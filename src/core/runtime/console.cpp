// Warnings to the host console, or to a per-thread collector while analyses run in parallel.
#include "core/runtime/console.h"

#include <cstdarg>
#include <cstdio>

#include "core/gateway/host_api.h"

namespace core {

namespace {

thread_local std::string* collector = nullptr;

}  // namespace

void warn(const char* format, ...) {
  char line[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  if (collector != nullptr)
    collector->append(line);
  else
    mexPrintf("%s", line);
}

CollectWarnings::CollectWarnings(std::string& text) : previous_(collector) { collector = &text; }

CollectWarnings::~CollectWarnings() { collector = previous_; }

void printCollected(const std::string& text) {
  if (text.empty()) return;
  // A caller that collects the warnings of the whole call gets these too.
  if (collector != nullptr)
    collector->append(text);
  else
    mexPrintf("%s", text.c_str());
}

}  // namespace core
