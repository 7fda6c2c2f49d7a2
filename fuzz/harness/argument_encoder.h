// The inverse of decodeCall for well-formed calls: the bytes that decode to given arguments, for
// seed inputs that start the fuzzer at every calling form.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fuzz {

class CallEncoder {
 public:
  // formIndex into the module's forms; execution as in the decoder's execution byte.
  explicit CallEncoder(int formIndex, std::uint8_t execution = 0);

  // Arguments in calling-form order; each must match its slot's kind.
  CallEncoder& record(const std::vector<double>& samples, bool row = false);
  CallEncoder& vector(const std::vector<double>& values, bool row = false);  // swept or T
  CallEncoder& scalar(double value);                                         // also nT
  CallEncoder& keyword(const std::string& text);                             // method, strength

  const std::vector<std::uint8_t>& bytes() const { return bytes_; }

 private:
  void raw(double value);
  std::vector<std::uint8_t> bytes_;
};

}  // namespace fuzz
