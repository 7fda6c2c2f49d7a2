// The one gateway of every module: argument counts, inputs, output arrays, the driver call and
// the output structure, driven by the module's Form.
//
// Octave's and MATLAB's mexErrMsgTxt unwind or never return, so no object with a destructor is
// alive when it runs, every input is checked before any output exists, and no exception may
// leave the gateway: any exception from the driver (an allocation included) becomes its failure
// status.
#pragma once

#include <cstdint>
#include <cstring>
#include <new>

#include "core/gateway/form.h"
#include "core/runtime/console.h"

namespace gateway {

namespace detail {

constexpr int kMaxInputs = 16;
constexpr int kMaxFields = 32;

// The inputs as given: the host array of each declared input (the first of Tstart, Tend, nT for
// generated periods; null for a left-out keyword), and whether the periods are generated.
struct Given {
  const mxArray* input[kMaxInputs];
  bool generated;
};

// Inputs of the shortest calling form: every input but an optional keyword, T counting one.
template <class I>
int requiredCount(const Form<I>& form) {
  int n = 0;
  for (int i = 0; i < form.inputCount; ++i) n += form.inputs[i].info.optional ? 0 : 1;
  return n;
}

template <class I>
bool hasOptional(const Form<I>& form) {
  return form.inputs[form.inputCount - 1].info.optional;
}

// The calling forms: the shortest, with the generated periods two inputs longer, each with and
// without an optional keyword.
template <class I>
bool countsFit(const Form<I>& form, int nlhs, int nrhs) {
  if (nlhs != 1) return false;
  const int extra = nrhs - requiredCount(form);
  if (extra == 0 || extra == 2) return true;
  return hasOptional(form) && (extra == 1 || extra == 3);
}

// "<Module>::mexFunction - wrong number of arguments received\nexpecting: spectra =
// <Module>(a,b,...);\n" with the inputs of the shortest form.
template <class I>
void describeUsage(Failure& failure, const Form<I>& form) {
  char call[256] = "";
  for (int i = 0; i < form.inputCount; ++i) {
    if (form.inputs[i].info.optional) continue;
    if (call[0] != '\0') std::strncat(call, ",", sizeof call - std::strlen(call) - 1);
    std::strncat(call, form.inputs[i].info.name, sizeof call - std::strlen(call) - 1);
  }
  std::snprintf(failure.text, sizeof failure.text,
                "%s::mexFunction - wrong number of arguments received\n"
                "expecting: spectra = %s(%s);\n",
                form.module, form.module, call);
}

template <class I>
bool readOne(const Input<I>& spec, const mxArray* const prhs[], int& next, bool generated,
             const char* module, I& in, Failure& failure) {
  const InputInfo& info = spec.info;
  switch (info.kind) {
    case InputKind::Record: {
      core::Series& s = in.*spec.series;
      return readVector(prhs[next++], module, info.name, Empty::Rejected, &s.data, &s.count,
                        failure);
    }
    case InputKind::Swept: {
      core::Series& s = in.*spec.series;
      return readVector(prhs[next++], module, info.name, info.empty, &s.data, &s.count, failure);
    }
    case InputKind::Scalar:
      return readScalar(prhs[next++], module, info.name, &(in.*spec.number), failure);
    case InputKind::Fraction:
      return readFraction(prhs[next++], module, info.name, &(in.*spec.number), failure);
    case InputKind::Periods: {
      core::Periods& p = in.*spec.periods;
      const int first = next;
      next += generated ? 3 : 1;
      if (generated)
        return readPeriodRange(prhs[first], prhs[first + 1], prhs[first + 2], module, &p, failure);
      return readPeriodVector(prhs[first], module, &p, failure);
    }
    case InputKind::Keyword:
      return readText(prhs[next++], module, info.name, &(in.*spec.text), failure);
  }
  return false;
}

template <class I>
bool keywordAccepted(const Input<I>& spec, const I& in) {
  const char* text = in.*spec.text;
  for (const char* const* k = spec.info.keywords; *k != nullptr; ++k)
    if (std::strcmp(text, *k) == 0) return true;
  return false;
}

// Reads every input in calling order, the first failure described; keywords are checked against
// their accepted texts after all inputs are read.
template <class I>
bool readInputs(const Form<I>& form, int nrhs, const mxArray* const prhs[], I& in, Given& given,
                Failure& failure) {
  const int extra = nrhs - requiredCount(form);
  given.generated = extra >= 2;
  const bool optionalGiven = extra % 2 == 1;
  int next = 0;
  for (int i = 0; i < form.inputCount; ++i) {
    const Input<I>& spec = form.inputs[i];
    given.input[i] = nullptr;
    if (spec.info.optional && !optionalGiven) continue;
    given.input[i] = prhs[next];
    if (!readOne(spec, prhs, next, given.generated, form.module, in, failure)) return false;
  }
  for (int i = 0; i < form.inputCount; ++i) {
    const Input<I>& spec = form.inputs[i];
    if (spec.info.kind == InputKind::Keyword && given.input[i] != nullptr &&
        !keywordAccepted(spec, in)) {
      describe(failure, form.module, "invalid time domain analysis method received");
      return false;
    }
  }
  return true;
}

template <class I>
const mxArray* inputNamed(const Form<I>& form, const Given& given, const char* name) {
  for (int i = 0; i < form.inputCount; ++i)
    if (std::strcmp(form.inputs[i].info.name, name) == 0) return given.input[i];
  return nullptr;
}

template <class I>
std::int32_t sweptCount(const Form<I>& form, const I& in) {
  for (int i = 0; i < form.inputCount; ++i)
    if (form.inputs[i].info.kind == InputKind::Swept) return (in.*form.inputs[i].series).count;
  return 0;
}

template <class I>
core::Periods& periodsOf(const Form<I>& form, I& in) {
  for (int i = 0; i < form.inputCount; ++i)
    if (form.inputs[i].info.kind == InputKind::Periods) return in.*form.inputs[i].periods;
  return in.*form.inputs[0].periods;  // every form has periods
}

// Creates every field, zero-filled, in structure order and points the driver's outputs at them;
// the periods' data then points at the "T" field.
template <class I>
void createFields(const Form<I>& form, const Given& given, I& in, mxArray* arrays[],
                  core::SpectraOutputs& out) {
  core::Periods& periods = periodsOf(form, in);
  const std::int32_t nT = periods.count;
  const std::int32_t nSwept = sweptCount(form, in);
  for (int i = 0; i < form.fieldCount; ++i) {
    const Field& field = form.fields[i];
    switch (field.shape) {
      case Shape::Scalar: arrays[i] = mxCreateDoubleScalar(0.0); break;
      case Shape::Echo: arrays[i] = mxDuplicateArray(inputNamed(form, given, field.source)); break;
      case Shape::Periods:
        arrays[i] =
            createPeriodField(given.generated ? nullptr : inputNamed(form, given, "T"), &periods);
        break;
      case Shape::PerPeriod: arrays[i] = createMatrix(nT, 1); break;
      case Shape::Matrix: arrays[i] = createMatrix(nT, nSwept); break;
    }
    if (field.slot != nullptr) out.*field.slot = mxGetPr(arrays[i]);
  }
}

// The driver's status; an exception, which must never reach the host, counts as a failure. Memory
// that could not be had is reported as the drivers report their scratch histories.
template <class I>
std::int32_t callDriver(const Form<I>& form, const core::SpectraOutputs& out,
                        const I& in) noexcept {
  const char* what = "failed to create time-history vectors";
  try {
    return form.driver(out, in);
  } catch (const std::bad_alloc&) {
  } catch (...) {
    what = "unexpected failure";
  }
  try {
    core::warn("??? %s::getSpectra - %s\n", form.module, what);
  } catch (...) {
    // The status alone tells the failure.
  }
  return -1;
}

}  // namespace detail

// The gateway of a module: mexFunction forwards to it with its Form.
template <class I>
void run(const Form<I>& form, int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]) {
  Failure failure;
  if (!detail::countsFit(form, nlhs, nrhs)) {
    detail::describeUsage(failure, form);
    mexErrMsgTxt(failure.text);
    return;
  }
  I in{};
  detail::Given given;
  if (!detail::readInputs(form, nrhs, prhs, in, given, failure)) {
    mexErrMsgTxt(failure.text);
    return;
  }
  mxArray* arrays[detail::kMaxFields];
  core::SpectraOutputs out;
  detail::createFields(form, given, in, arrays, out);
  if (detail::callDriver(form, out, in) != 0) {
    describe(failure, form.module, "errors encountered during spectra generation");
    mexErrMsgTxt(failure.text);
    return;
  }
  const char* names[detail::kMaxFields];
  for (int i = 0; i < form.fieldCount; ++i) names[i] = form.fields[i].name;
  storeStructure(plhs, form.fieldCount, names, arrays);
}

// The calling form and the fields of a module, for the program, the help texts' tests and the
// bindings; one copy per form.
template <const auto& form>
const Signature& signatureOf() {
  static const Signature signature = signatureOf(form);
  return signature;
}

}  // namespace gateway
