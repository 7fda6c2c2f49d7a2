// The gateway-call decoder: encoded calls decode to exactly their arguments, and no input decodes
// to a call larger than the fuzzing limits.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "harness/argument_decoder.h"
#include "harness/argument_encoder.h"
#include "harness/calling_forms.h"

namespace {

using fuzz::Slot;

// Distinct values per slot, so that a swapped or shifted argument shows.
void encode(Slot slot, int position, fuzz::CallEncoder& call) {
  const double tag = 0.05 + position / 256.0;
  switch (slot) {
    case Slot::Record: call.record({tag, -tag, 0.5 * tag, 0.0}, position % 2 == 1); break;
    case Slot::Swept: call.vector({0.01 * tag, 0.02 * tag}, true); break;
    case Slot::Periods: call.vector({0.1 * tag, 0.2 * tag, 0.3 * tag}); break;
    case Slot::Count: call.scalar(7.0); break;
    case Slot::Method: call.keyword("newmark"); break;
    case Slot::Strength: call.keyword(std::string("mu\0x", 4)); break;
    default: call.scalar(tag);
  }
}

bool sameBits(const std::vector<double>& a, const std::vector<double>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(double)) == 0;
}

TEST(CallDecoder, DecodesEncodedCallsOfEveryFormExactly) {
  for (const fuzz::ModuleForms& module : fuzz::moduleForms()) {
    for (std::size_t f = 0; f < module.forms.size(); ++f) {
      SCOPED_TRACE(module.name + " form " + std::to_string(f));
      const std::vector<Slot>& form = module.forms[f];
      fuzz::CallEncoder encoder(static_cast<int>(f), 0x17);
      for (std::size_t i = 0; i < form.size(); ++i) encode(form[i], static_cast<int>(i), encoder);
      fuzz::ByteReader reader(encoder.bytes().data(), encoder.bytes().size());
      const fuzz::DecodedCall call = fuzz::decodeCall(module, reader);
      EXPECT_TRUE(reader.exhausted());
      EXPECT_EQ(call.nlhs, 1);
      EXPECT_EQ(call.execution.threads, 2);
      EXPECT_TRUE(call.execution.compareWithReference);
      EXPECT_FALSE(call.execution.straightforward);
      ASSERT_EQ(call.inputs.size(), form.size());
      EXPECT_EQ(call.slots, form);
      for (std::size_t i = 0; i < form.size(); ++i) {
        SCOPED_TRACE("input " + std::to_string(i));
        const mxArray& input = *call.inputs[i];
        EXPECT_FALSE(input.complex || input.sparse);
        const double tag = 0.05 + i / 256.0;
        switch (form[i]) {
          case Slot::Method: EXPECT_EQ(input.text, "newmark"); break;
          case Slot::Strength: EXPECT_EQ(input.text, std::string("mu\0x", 4)); break;
          case Slot::Record:
            EXPECT_TRUE(sameBits(input.data, {tag, -tag, 0.5 * tag, 0.0}));
            EXPECT_EQ(input.rows == 1, i % 2 == 1);
            break;
          case Slot::Count: EXPECT_TRUE(sameBits(input.data, {7.0})); break;
          case Slot::Periods: EXPECT_TRUE(sameBits(input.data, {0.1 * tag, 0.2 * tag, 0.3 * tag})); break;
          case Slot::Swept:
            EXPECT_EQ(input.rows, 1u);
            EXPECT_TRUE(sameBits(input.data, {0.01 * tag, 0.02 * tag}));
            break;
          default: EXPECT_TRUE(sameBits(input.data, {tag}));
        }
      }
    }
  }
}

// The regions the decoder keeps the sub-stepping modules out of (finite nonzero values only).
bool withinSubSteppedLimits(Slot slot, const fuzz::ModuleForms& module, double v) {
  if (!std::isfinite(v) || v == 0.0 || slot == Slot::Count) return true;
  const double size = std::fabs(v);
  switch (slot) {
    case Slot::Record: return size <= fuzz::kLargestSubSteppedSample;
    case Slot::Dt: return size <= fuzz::kLargestSubSteppedDt;
    case Slot::Periods:
    case Slot::Tstart:
    case Slot::Tend: return size >= fuzz::kSmallestSubSteppedPeriod;
    case Slot::Mass:
    case Slot::Uy: return v > 0.0 && size >= fuzz::kSmallestSubSteppedValue &&
                          size <= fuzz::kLargestSubSteppedValue;
    case Slot::Swept:
      if (module.sweptField == "zeta" && v < fuzz::kSmallestSubSteppedZeta) return false;
      break;
    case Slot::Kin:
    case Slot::Iso:
      if (v < fuzz::kSmallestSubSteppedHardening) return false;
      break;
    default: break;
  }
  return size >= fuzz::kSmallestSubSteppedValue && size <= fuzz::kLargestSubSteppedValue;
}

// Random inputs of every length never ask for more than the limits that keep a call fast: no
// record beyond kMaxSamples, no period vector beyond kMaxPeriods, no valid count above it, and
// nothing in the regions where the sub-stepping modules run for hours.
TEST(CallDecoder, StaysWithinTheFuzzingLimitsForAnyInput) {
  std::mt19937 random(20261208);
  for (const fuzz::ModuleForms& module : fuzz::moduleForms()) {
    for (int trial = 0; trial < 400; ++trial) {
      std::vector<std::uint8_t> bytes(random() % 6000);
      for (std::uint8_t& b : bytes) b = static_cast<std::uint8_t>(random());
      fuzz::ByteReader reader(bytes.data(), bytes.size());
      const fuzz::DecodedCall call = fuzz::decodeCall(module, reader);
      ASSERT_LE(call.inputs.size(), static_cast<std::size_t>(fuzz::kMaxInputs));
      for (std::size_t i = 0; i < call.inputs.size(); ++i) {
        const mxArray& input = *call.inputs[i];
        ASSERT_LE(input.rows * input.cols, static_cast<std::size_t>(fuzz::kMaxSamples));
        if (call.slots[i] == Slot::Periods) {
          ASSERT_LE(std::max(input.rows, input.cols), static_cast<std::size_t>(fuzz::kMaxPeriods));
        }
        if (module.subSteps) {
          for (double v : input.data) ASSERT_TRUE(withinSubSteppedLimits(call.slots[i], module, v)) << v;
        }
        if (call.slots[i] == Slot::Count) {
          for (double v : input.data) ASSERT_FALSE(v >= fuzz::kMaxPeriods + 1 && v < 2147483648.0) << v;
        }
      }
    }
  }
}

}  // namespace
