// The inputs every spectra driver shares: sampled series (records, swept parameter values) and
// the periods of a call.
#pragma once

#include <cstdint>

namespace core {

// A read-only run of samples: a record, or the values of a swept parameter.
struct Series {
  const double* data = nullptr;
  std::int32_t count = 0;
};

// The periods of a call: an input vector used in place, or nT periods from start to end that the
// gateway generates into the "T" field. After the gateway has created the fields, data points to
// the periods the driver reads.
struct Periods {
  const double* data = nullptr;
  std::int32_t count = 0;
  double start = 0.0;
  double end = 0.0;
};

// Samples two components have in common: the shorter record's length (the longer one's rest is
// unused).
inline std::int32_t commonLength(const Series& a, const Series& b) {
  return a.count < b.count ? a.count : b.count;
}

}  // namespace core
