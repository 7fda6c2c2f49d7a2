// Reading a fuzzer input from the front: bytes, small counts, raw doubles and texts, with zeros
// once the input is used up, so that every input decodes to something.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace fuzz {

class ByteReader {
 public:
  ByteReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  bool exhausted() const { return position_ >= size_; }
  std::size_t remaining() const { return exhausted() ? 0 : size_ - position_; }

  std::uint8_t byte() { return exhausted() ? 0 : data_[position_++]; }

  std::uint16_t twoBytes() {
    const std::uint16_t high = byte();
    return static_cast<std::uint16_t>(high << 8 | byte());
  }

  // Eight bytes, least significant first, as the bits of a double (zero bits past the end).
  double rawDouble() {
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i) bits |= static_cast<std::uint64_t>(byte()) << (8 * i);
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
  }

  // A fraction in [0, 1] from one byte.
  double fraction() { return byte() / 255.0; }

  std::string text(std::size_t length) {
    std::string out;
    while (out.size() < length && !exhausted()) out += static_cast<char>(byte());
    return out;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

}  // namespace fuzz
