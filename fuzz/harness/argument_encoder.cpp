// Call encoding: every value is written as raw bits, so seeds decode to exactly what was given.
#include "harness/argument_encoder.h"

#include <cstring>
#include <stdexcept>

#include "harness/argument_decoder.h"

namespace fuzz {

namespace {

constexpr std::uint8_t kValidColumn = 0;
constexpr std::uint8_t kValidRow = 1;
constexpr std::uint8_t kRawValue = 255;
constexpr std::uint8_t kRawSamples = 3;
constexpr std::uint8_t kRawText = 200;

}  // namespace

CallEncoder::CallEncoder(int formIndex, std::uint8_t execution) {
  bytes_ = {static_cast<std::uint8_t>(formIndex), 0, execution};
}

void CallEncoder::raw(double value) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof value);
  for (int i = 0; i < 8; ++i) bytes_.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

CallEncoder& CallEncoder::record(const std::vector<double>& samples, bool row) {
  const std::size_t n = samples.size();
  if (n > static_cast<std::size_t>(kMaxSamples)) throw std::invalid_argument("record too long");
  bytes_.push_back(row ? kValidRow : kValidColumn);
  if (n < 200) {
    bytes_.push_back(static_cast<std::uint8_t>(n));
  } else {
    bytes_.push_back(200);
    bytes_.push_back(static_cast<std::uint8_t>((n - 200) >> 8));
    bytes_.push_back(static_cast<std::uint8_t>((n - 200) & 0xFF));
  }
  bytes_.push_back(kRawSamples);
  for (double sample : samples) raw(sample);
  bytes_.push_back(0);  // no spikes
  return *this;
}

CallEncoder& CallEncoder::vector(const std::vector<double>& values, bool row) {
  if (values.size() > static_cast<std::size_t>(kMaxPeriods))
    throw std::invalid_argument("vector too long");
  bytes_.push_back(row ? kValidRow : kValidColumn);
  bytes_.push_back(static_cast<std::uint8_t>(values.size()));
  for (double value : values) {
    bytes_.push_back(kRawValue);
    raw(value);
  }
  return *this;
}

CallEncoder& CallEncoder::scalar(double value) {
  bytes_.push_back(kValidColumn);
  bytes_.push_back(kRawValue);
  raw(value);
  return *this;
}

CallEncoder& CallEncoder::keyword(const std::string& text) {
  if (text.size() > 32) throw std::invalid_argument("keyword too long");
  bytes_.insert(bytes_.end(), {kValidColumn, kRawText, static_cast<std::uint8_t>(text.size())});
  bytes_.insert(bytes_.end(), text.begin(), text.end());
  return *this;
}

}  // namespace fuzz
