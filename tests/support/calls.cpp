// Test-side helpers for gateway calls through the project's own host.
#include "support/calls.h"

namespace support {

std::vector<const mxArray*> Args::pointers() const {
  std::vector<const mxArray*> out;
  for (const host::Value& value : values_) out.push_back(value.get());
  return out;
}

std::string firstDifference(const host::Outcome& a, const host::Outcome& b) {
  if (a.ok != b.ok) return "one call failed: " + a.error + b.error;
  if (a.fieldNames() != b.fieldNames()) return "field names differ";
  for (const std::string& name : a.fieldNames()) {
    const mxArray& x = a.field(name);
    const mxArray& y = b.field(name);
    if (x.rows != y.rows || x.cols != y.cols) return name + ": shapes differ";
    for (std::size_t i = 0; i < x.data.size(); ++i)
      if (!sameResult(x.data[i], y.data[i]))
        return name + "[" + std::to_string(i) + "]: " + std::to_string(x.data[i]) + " vs " +
               std::to_string(y.data[i]);
  }
  return "";
}

}  // namespace support
