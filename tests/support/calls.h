// Shortcuts for calling gateways through the project's own host in tests.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "host/host.h"

namespace support {

// Inputs of one call, kept alive for as long as the list lives.
class Args {
 public:
  Args& add(host::Value value) {
    values_.push_back(std::move(value));
    return *this;
  }
  Args& add(double value) { return add(host::scalar(value)); }
  Args& add(const std::vector<double>& column) { return add(host::column(column)); }
  Args& add(const char* text) { return add(host::text(text)); }
  std::vector<const mxArray*> pointers() const;

 private:
  std::vector<host::Value> values_;
};

inline host::Outcome call(host::Gateway gateway, const Args& args, int nlhs = 1) {
  return host::call(gateway, nlhs, args.pointers());
}

// Bitwise equality of doubles (NaN equals NaN, +0 differs from −0).
inline bool sameBits(double a, double b) {
  std::uint64_t x, y;
  std::memcpy(&x, &a, sizeof x);
  std::memcpy(&y, &b, sizeof y);
  return x == y;
}

// Bitwise equality except that any two NaNs are equal: compilers may swap the operands of a
// commutative operation, and with them which NaN's sign and payload propagate.
inline bool sameResult(double a, double b) { return (a != a && b != b) || sameBits(a, b); }

// Every field of two outcomes identical: names, shapes and bits (NaN equal to NaN). Describes the
// first difference.
std::string firstDifference(const host::Outcome& a, const host::Outcome& b);

}  // namespace support
