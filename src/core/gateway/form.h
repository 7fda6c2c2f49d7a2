// A module's calling form and output structure, declared once as data. The gateway runner reads
// the inputs and creates the fields from this declaration; the command-line program, the help
// texts' tests and the bindings read the same one.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/gateway/arguments.h"
#include "core/spectra/outputs.h"
#include "core/spectra/series.h"

namespace gateway {

enum class InputKind {
  Record,    // a ground-acceleration component: a non-empty real double vector
  Scalar,    // a real double scalar
  Fraction,  // a real double scalar from 0 to 1
  Swept,     // the swept parameter: a real double vector
  Periods,   // T, or Tstart, Tend, nT in the generated forms
  Keyword,   // a text among the accepted keywords
};

// What the program and the bindings need to know of one input.
struct InputInfo {
  InputKind kind;
  const char* name;
  Empty empty = Empty::Rejected;          // Swept: whether a 0 × 0 vector is a defined call
  const char* const* keywords = nullptr;  // Keyword: accepted texts, ending in nullptr
  bool optional = false;                  // Keyword: may be left out, keeping its default
};

// One input of the calling form and where the gateway stores it in the module's Inputs.
template <class Inputs>
struct Input {
  InputInfo info;
  core::Series Inputs::*series = nullptr;    // Record, Swept
  double Inputs::*number = nullptr;          // Scalar, Fraction
  core::Periods Inputs::*periods = nullptr;  // Periods
  const char* Inputs::*text = nullptr;       // Keyword
};

template <class I>
constexpr Input<I> record(const char* name, core::Series I::*member) {
  Input<I> in{{InputKind::Record, name}};
  in.series = member;
  return in;
}

template <class I>
constexpr Input<I> scalar(const char* name, double I::*member) {
  Input<I> in{{InputKind::Scalar, name}};
  in.number = member;
  return in;
}

template <class I>
constexpr Input<I> fraction(const char* name, double I::*member) {
  Input<I> in{{InputKind::Fraction, name}};
  in.number = member;
  return in;
}

template <class I>
constexpr Input<I> swept(const char* name, core::Series I::*member, Empty empty) {
  Input<I> in{{InputKind::Swept, name, empty}};
  in.series = member;
  return in;
}

template <class I>
constexpr Input<I> periods(core::Periods I::*member) {
  Input<I> in{{InputKind::Periods, "T"}};
  in.periods = member;
  return in;
}

// A keyword is checked against the accepted texts once every input has been read.
template <class I>
constexpr Input<I> keyword(const char* name, const char* I::*member, const char* const* accepted,
                           bool optional) {
  Input<I> in{{InputKind::Keyword, name, Empty::Rejected, accepted, optional}};
  in.text = member;
  return in;
}

enum class Shape {
  Scalar,     // 1 × 1
  Echo,       // a copy of an input, as given
  Periods,    // a copy of T, or the generated nT × 1 column
  PerPeriod,  // nT × 1
  Matrix,     // nT × nSwept
};

// One field of the output structure: its name, its shape, where the driver writes it (null for
// echoes and periods) and, for an echo, the input it copies.
struct Field {
  const char* name;
  Shape shape;
  double* core::SpectraOutputs::*slot;
  const char* source;
};

constexpr Field scalarField(const char* name, double* core::SpectraOutputs::*slot) {
  return {name, Shape::Scalar, slot, nullptr};
}
constexpr Field echoField(const char* name, const char* source) {
  return {name, Shape::Echo, nullptr, source};
}
constexpr Field periodField() { return {"T", Shape::Periods, nullptr, nullptr}; }
constexpr Field perPeriodField(const char* name, double* core::SpectraOutputs::*slot) {
  return {name, Shape::PerPeriod, slot, nullptr};
}
constexpr Field matrixField(const char* name, double* core::SpectraOutputs::*slot) {
  return {name, Shape::Matrix, slot, nullptr};
}

// Everything the runner needs of a module: its name for messages, its inputs in calling order
// (at most one optional keyword, last), its fields in structure order, and its driver.
template <class Inputs>
struct Form {
  const char* module;
  const Input<Inputs>* inputs;
  int inputCount;
  const Field* fields;
  int fieldCount;
  std::int32_t (*driver)(const core::SpectraOutputs& out, const Inputs& in);
};

template <class I, std::size_t N, std::size_t M>
constexpr Form<I> makeForm(const char* module, const std::array<Input<I>, N>& inputs,
                           const std::array<Field, M>& fields,
                           std::int32_t (*driver)(const core::SpectraOutputs&, const I&)) {
  return {module, inputs.data(), static_cast<int>(N), fields.data(), static_cast<int>(M), driver};
}

// Declarations end to end: the records of a module before the inputs it shares with its
// one-component sibling, or the field groups of a structure.
template <class T, std::size_t N, std::size_t M>
constexpr std::array<T, N + M> join(const std::array<T, N>& a, const std::array<T, M>& b) {
  std::array<T, N + M> all{};
  for (std::size_t i = 0; i < N; ++i) all[i] = a[i];
  for (std::size_t i = 0; i < M; ++i) all[N + i] = b[i];
  return all;
}

template <class T, std::size_t N, std::size_t M, std::size_t... R>
constexpr auto join(const std::array<T, N>& a, const std::array<T, M>& b,
                    const std::array<T, R>&... rest) {
  return join(join(a, b), rest...);
}

// A module's calling form and fields without its types: what the program, the help texts' tests
// and the bindings read.
struct Signature {
  const char* module;
  std::vector<InputInfo> inputs;
  std::vector<Field> fields;
};

template <class I>
Signature signatureOf(const Form<I>& form) {
  Signature s{form.module, {}, {form.fields, form.fields + form.fieldCount}};
  for (int i = 0; i < form.inputCount; ++i) s.inputs.push_back(form.inputs[i].info);
  return s;
}

}  // namespace gateway
