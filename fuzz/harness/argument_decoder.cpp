// Gateway-call decoding. Most bytes lead to a well-formed call of one of the module's forms, so
// that the fuzzer reaches the drivers; the rest try every way an argument can be wrong.
#include "harness/argument_decoder.h"

#include <cmath>
#include <limits>
#include <string>

namespace fuzz {

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kSlotKinds = static_cast<int>(Slot::Alpha) + 1;

const double kSpecialValues[] = {0.0,      -0.0,     1.0,     -1.0,   kNaN,       kInf,
                                 -kInf,    1.7e308,  -1.7e308, 2.2250738585072014e-308,
                                 4.9e-324, -4.9e-324, 2.220446049250313e-16,     1e-300,
                                 1e300,    0.5,      2.0,     1e-8,   1e8,        2147483647.0,
                                 2147483648.0,       -2147483649.0,  9.80665,    386.1};

const double kSpecialCounts[] = {0.0, -0.0, -1.0, kNaN, kInf, -kInf, 0.999, 1.0, 2147483648.0,
                                 1e300, -2147483649.0, 4.9e-324};

struct Range {
  double low, high;
};

// Values an engineer would pass for each kind of input.
Range typicalRange(Slot slot) {
  switch (slot) {
    case Slot::Dt: return {0.001, 0.05};
    case Slot::Mass: return {0.1, 100.0};
    case Slot::Gravity: return {1.0, 400.0};
    case Slot::Swept: return {0.0, 0.3};
    case Slot::Periods: return {0.02, 10.0};
    case Slot::Tstart: return {0.02, 2.0};
    case Slot::Tend: return {0.5, 10.0};
    case Slot::Kin:
    case Slot::Iso: return {0.0, 0.2};
    case Slot::Para: return {0.01, 8.0};
    case Slot::Uy: return {1e-4, 1e-2};
    case Slot::Alpha: return {0.0, 1.0};
    default: return {-10.0, 10.0};  // accelerations, and any other number
  }
}

template <std::size_t N>
double pick(const double (&table)[N], std::uint8_t index) {
  return table[index % N];
}

double decodeValue(Slot slot, ByteReader& in) {
  const std::uint8_t choice = in.byte();
  if (choice < 192) {
    const Range range = typicalRange(slot);
    return range.low + in.fraction() * (range.high - range.low);
  }
  if (choice < 248) return pick(kSpecialValues, static_cast<std::uint8_t>(choice - 192));
  return in.rawDouble();
}

// A period count: mostly 1 .. kMaxPeriods (with a fraction, truncated by the gateway), or one of
// the values a gateway must refuse. Never a valid count above kMaxPeriods.
double decodeCount(ByteReader& in) {
  const std::uint8_t choice = in.byte();
  if (choice < 192) return 1 + choice % kMaxPeriods + in.byte() / 256.0;
  if (choice < 248) return pick(kSpecialCounts, static_cast<std::uint8_t>(choice - 192));
  const double raw = in.rawDouble();
  if (raw >= kMaxPeriods + 1 && raw < 2147483648.0) return 1 + std::fmod(raw, kMaxPeriods);
  return raw;
}

// Any number for a slot; a count never exceeds the fuzzing limit.
double decodeNumber(Slot slot, ByteReader& in) {
  return slot == Slot::Count ? decodeCount(in) : decodeValue(slot, in);
}

// splitmix64, for reproducible noise records.
double noise(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  z ^= z >> 31;
  return static_cast<double>(z >> 11) * 0x1.0p-52 - 1.0;
}

std::vector<double> decodeRecord(ByteReader& in) {
  const std::uint8_t lengthByte = in.byte();
  const int length = lengthByte < 200 ? lengthByte : 200 + in.twoBytes() % (kMaxSamples - 199);
  std::vector<double> ag(static_cast<std::size_t>(length), 0.0);
  const double pi = std::acos(-1.0);
  switch (in.byte() % 5) {
    case 0: break;
    case 1: {
      const double amplitude = decodeValue(Slot::Record, in);
      const int cycles = 1 + in.byte() % 50;
      for (int i = 0; i < length; ++i) ag[i] = amplitude * std::sin(2 * pi * cycles * i / length);
      break;
    }
    case 2: {
      std::uint64_t state = in.twoBytes();
      const double amplitude = decodeValue(Slot::Record, in);
      for (double& a : ag) a = amplitude * noise(state);
      break;
    }
    case 3:
      for (std::size_t i = 0; i < ag.size() && !in.exhausted(); ++i) ag[i] = in.rawDouble();
      break;
    case 4: ag.assign(ag.size(), decodeValue(Slot::Record, in)); break;
  }
  const int spikes = in.byte() % 5;
  for (int s = 0; s < spikes; ++s) {
    const std::size_t at = length > 0 ? in.twoBytes() % length : 0;
    const double value = decodeValue(Slot::Record, in);
    if (length > 0) ag[at] = value;
  }
  return ag;
}

const std::string kMethodWords[] = {"recform", "newmark", "Recform", "NEWMARK", "recform ",
                                    "",        "newmar",  "recformx", std::string("recform\0x", 9),
                                    std::string("newmark\0", 8)};
const std::string kStrengthWords[] = {
    "yieldStrength",   "fy", "yieldDisplacement", "uy", "strengthReductionFactor", "R",
    "ductilityFactor", "mu", "Mu",                "r",  "ductility",               "",
    std::string("mu\0", 3)};

template <std::size_t N>
const std::string& pickWord(const std::string (&words)[N], std::uint8_t index) {
  return words[index % N];
}

host::Value decodeText(Slot slot, ByteReader& in) {
  const std::uint8_t choice = in.byte();
  if (choice < 200)
    return host::text(slot == Slot::Strength ? pickWord(kStrengthWords, choice)
                                             : pickWord(kMethodWords, choice));
  return host::text(in.text(in.byte() % 33));
}

host::Value vectorArray(const std::vector<double>& values, bool row) {
  if (values.empty()) return host::matrix(0, 0, {});
  return row ? host::row(values) : host::column(values);
}

host::Value decodeVector(Slot slot, int largest, bool row, ByteReader& in) {
  std::vector<double> values(in.byte() % (largest + 1));
  for (double& v : values) v = decodeValue(slot, in);
  return vectorArray(values, row);
}

host::Value decodeValid(Slot slot, bool row, ByteReader& in) {
  switch (slot) {
    case Slot::Record: return vectorArray(decodeRecord(in), row);
    case Slot::Swept: return decodeVector(slot, kMaxSwept, row, in);
    case Slot::Periods: return decodeVector(slot, kMaxPeriods, row, in);
    case Slot::Method:
    case Slot::Strength: return decodeText(slot, in);
    default: return host::scalar(decodeNumber(slot, in));
  }
}

host::Value decodeMatrix(Slot slot, ByteReader& in) {
  const std::uint8_t dims = in.byte();
  const std::size_t rows = 1 + dims % 4, cols = 1 + dims / 4 % 4;
  std::vector<double> values(rows * cols);
  for (double& v : values) v = decodeNumber(slot, in);
  return host::matrix(rows, cols, values);
}

// Every way an argument can be other than its slot expects.
host::Value decodeWrong(Slot slot, std::uint8_t mutation, ByteReader& in) {
  using C = mxArray::Class;
  const std::uint8_t dims = in.byte();
  const std::size_t rows = dims % 3, cols = dims / 3 % 3;
  switch (mutation % 13) {
    case 0: return host::ofClass(C::Single, rows, cols);
    case 1: return host::ofClass(C::Logical, rows, cols);
    case 2: return host::ofClass(C::Int32, rows, cols);
    case 3: return host::text("0.05");
    case 4: return host::ofClass(C::Struct, 1, 1);
    case 5: return host::ofClass(C::Cell, rows, cols);
    case 6: {
      host::Value value = decodeValid(slot, dims & 1, in);
      value->complex = true;
      return value;
    }
    case 7: {
      host::Value value = decodeValid(slot, dims & 1, in);
      value->sparse = true;
      return value;
    }
    case 8: return host::matrix(0, 0, {});
    case 9: return host::matrix(1, 0, {});
    case 10: return host::matrix(0, 1, {});
    case 11: return decodeMatrix(slot, in);
    default: return host::scalar(decodeNumber(slot, in));
  }
}

host::Value decodeArgument(Slot slot, ByteReader& in) {
  const std::uint8_t shape = in.byte();
  if (shape >= 224) return decodeWrong(slot, static_cast<std::uint8_t>(shape - 224), in);
  return decodeValid(slot, shape & 1, in);
}

Execution decodeExecution(std::uint8_t bits) {
  static const core::VectorUnit units[] = {core::VectorUnit::None, core::VectorUnit::SSE2,
                                           core::VectorUnit::AVX2, core::widestVectorUnit()};
  Execution execution;
  execution.threads = bits & 1 ? 2 : 1;
  execution.unit = units[bits >> 1 & 3];
  execution.straightforward = bits & 8;
  execution.compareWithReference = bits & 16;
  return execution;
}

// The value with its size brought into [smallest, largest], sign kept.
double withinSize(double value, double smallest, double largest) {
  return std::copysign(std::fmin(std::fmax(std::fabs(value), smallest), largest), value);
}

// The limits that keep the sub-stepping integrators from running for hours.
double clampForSubSteps(Slot slot, bool zeta, double value) {
  if (!std::isfinite(value) || value == 0.0 || slot == Slot::Count) return value;
  switch (slot) {
    case Slot::Record: return std::fabs(value) > kLargestSubSteppedSample
                                  ? std::copysign(kLargestSubSteppedSample, value)
                                  : value;
    case Slot::Dt: return withinSize(value, kSmallestSubSteppedValue, kLargestSubSteppedDt);
    case Slot::Periods:
    case Slot::Tstart:
    case Slot::Tend: return withinSize(value, kSmallestSubSteppedPeriod, kLargestSubSteppedValue);
    case Slot::Mass:
    case Slot::Uy: value = std::fabs(value); break;
    case Slot::Swept: value = zeta ? std::fmax(value, kSmallestSubSteppedZeta) : value; break;
    case Slot::Kin:
    case Slot::Iso: value = std::fmax(value, kSmallestSubSteppedHardening); break;
    default: break;
  }
  return withinSize(value, kSmallestSubSteppedValue, kLargestSubSteppedValue);
}

const std::vector<Slot>& longestForm(const ModuleForms& module) {
  const std::vector<Slot>* longest = &module.forms.front();
  for (const std::vector<Slot>& form : module.forms)
    if (form.size() > longest->size()) longest = &form;
  return *longest;
}

}  // namespace

DecodedCall decodeCall(const ModuleForms& module, ByteReader& in) {
  const std::size_t forms = module.forms.size();
  const std::size_t choice = in.byte() % (forms + 1);
  const std::vector<Slot>& kinds = choice < forms ? module.forms[choice] : longestForm(module);
  const std::size_t count = choice < forms ? kinds.size() : in.byte() % (kMaxInputs + 1);
  DecodedCall call;
  const std::uint8_t nlhs = in.byte();
  call.nlhs = nlhs < 240 ? 1 : (nlhs % 3 == 0 ? 0 : 1 + nlhs % 3);
  call.execution = decodeExecution(in.byte());
  for (std::size_t i = 0; i < count; ++i) {
    const Slot slot = i < kinds.size() ? kinds[i] : static_cast<Slot>(in.byte() % kSlotKinds);
    call.inputs.push_back(decodeArgument(slot, in));
    call.slots.push_back(slot);
    if (module.subSteps)
      for (double& value : call.inputs.back()->data)
        value = clampForSubSteps(slot, module.sweptField == "zeta", value);
  }
  return call;
}

}  // namespace fuzz
