// The project's own host: arrays live in the arena of the call that created them, the console is
// captured as text, and a host error is a C++ exception caught around the gateway.
#include "host/host.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <new>

namespace {

// The call in progress on this thread; arrays and console text go to it.
thread_local host::Outcome* running = nullptr;

host::Outcome& currentCall() {
  if (running == nullptr) throw std::logic_error("host: array operation outside a gateway call");
  return *running;
}

mxArray* adopt(std::unique_ptr<mxArray> array) {
  host::Outcome& call = currentCall();
  call.arena.push_back(std::move(array));
  return call.arena.back().get();
}

// Runs an allocating host operation; memory that cannot be had is the host's error, raised as
// Octave and MATLAB raise theirs.
template <class Operation>
auto allocating(Operation operation) -> decltype(operation()) {
  try {
    return operation();
  } catch (const std::bad_alloc&) {
    mexErrMsgTxt("out of memory");
  }
}

bool isNumeric(const mxArray* array) {
  return array->cls != mxArray::Class::Char && array->cls != mxArray::Class::Struct &&
         array->cls != mxArray::Class::Cell;
}

}  // namespace

double* mxGetPr(const mxArray* array) {
  auto* a = const_cast<mxArray*>(array);
  return a->data.empty() ? nullptr : a->data.data();
}

double mxGetScalar(const mxArray* array) {
  if (isNumeric(array)) return array->data.empty() ? 0.0 : array->data[0];
  if (array->cls == mxArray::Class::Char && !array->text.empty())
    return static_cast<unsigned char>(array->text[0]);
  return 0.0;
}

std::size_t mxGetM(const mxArray* array) { return array->rows; }
std::size_t mxGetN(const mxArray* array) { return array->cols; }
std::size_t mxGetNumberOfElements(const mxArray* array) { return array->rows * array->cols; }
bool mxIsDouble(const mxArray* array) { return array->cls == mxArray::Class::Double; }
bool mxIsComplex(const mxArray* array) { return array->complex; }
bool mxIsSparse(const mxArray* array) { return array->sparse; }
bool mxIsChar(const mxArray* array) { return array->cls == mxArray::Class::Char; }

char* mxArrayToString(const mxArray* array) {
  if (array->cls != mxArray::Class::Char) return nullptr;
  host::Outcome& call = currentCall();
  return allocating([&] {
    std::unique_ptr<char[]> copy(new char[array->text.size() + 1]);
    std::memcpy(copy.get(), array->text.c_str(), array->text.size() + 1);
    call.strings.push_back(std::move(copy));
    return call.strings.back().get();
  });
}

mxArray* mxCreateDoubleMatrix(mwSize rows, mwSize cols, mxComplexity flag) {
  return allocating([&] {
    auto array = std::make_unique<mxArray>();
    array->rows = rows;
    array->cols = cols;
    array->data.assign(rows * cols, 0.0);
    array->complex = flag == mxCOMPLEX;
    return adopt(std::move(array));
  });
}

mxArray* mxCreateDoubleScalar(double value) {
  mxArray* array = mxCreateDoubleMatrix(1, 1, mxREAL);
  array->data[0] = value;
  return array;
}

mxArray* mxDuplicateArray(const mxArray* array) {
  return allocating([&] {
    auto copy = std::make_unique<mxArray>(*array);
    for (mxArray*& field : copy->fields)
      if (field != nullptr) field = mxDuplicateArray(field);
    return adopt(std::move(copy));
  });
}

mxArray* mxCreateStructMatrix(mwSize rows, mwSize cols, int nFields, const char** names) {
  if (rows != 1 || cols != 1) throw std::logic_error("host: only 1 x 1 structures are supported");
  return allocating([&] {
    auto array = std::make_unique<mxArray>();
    array->cls = mxArray::Class::Struct;
    array->rows = 1;
    array->cols = 1;
    for (int i = 0; i < nFields; ++i) array->fieldNames.emplace_back(names[i]);
    array->fields.assign(static_cast<std::size_t>(nFields), nullptr);
    return adopt(std::move(array));
  });
}

void mxSetFieldByNumber(mxArray* structure, mwIndex element, int field, mxArray* value) {
  if (element != 0 || field < 0 || static_cast<std::size_t>(field) >= structure->fields.size())
    throw std::logic_error("host: field index out of range");
  structure->fields[static_cast<std::size_t>(field)] = value;
}

void mexErrMsgTxt(const char* message) { throw host::HostError(message); }

host::HostError::HostError(const char* message) {
  std::snprintf(text_, sizeof text_, "%s", message);
}

int mexPrintf(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  // Like a real host's console, printing never fails the call: text that cannot be stored is
  // lost.
  if (length > 0 && running != nullptr) try {
      std::string text(static_cast<std::size_t>(length) + 1, '\0');
      std::vsnprintf(text.data(), text.size(), format, again);
      text.pop_back();
      running->console += text;
    } catch (const std::bad_alloc&) {
    }
  va_end(again);
  return length;
}

namespace host {

Value matrix(std::size_t rows, std::size_t cols, const std::vector<double>& columnMajor) {
  if (columnMajor.size() != rows * cols) throw std::invalid_argument("host: size mismatch");
  auto array = std::make_unique<mxArray>();
  array->rows = rows;
  array->cols = cols;
  array->data = columnMajor;
  return array;
}

Value column(const std::vector<double>& values) { return matrix(values.size(), 1, values); }
Value row(const std::vector<double>& values) { return matrix(1, values.size(), values); }
Value scalar(double value) { return matrix(1, 1, {value}); }

Value text(const std::string& value) {
  auto array = std::make_unique<mxArray>();
  array->cls = mxArray::Class::Char;
  array->rows = value.empty() ? 0 : 1;
  array->cols = value.size();
  array->text = value;
  return array;
}

Value ofClass(mxArray::Class cls, std::size_t rows, std::size_t cols) {
  auto array = std::make_unique<mxArray>();
  array->cls = cls;
  array->rows = rows;
  array->cols = cols;
  if (cls != mxArray::Class::Char && cls != mxArray::Class::Struct && cls != mxArray::Class::Cell)
    array->data.assign(rows * cols, 1.0);
  if (cls == mxArray::Class::Char) array->text.assign(rows * cols, 'x');
  return array;
}

std::vector<std::string> Outcome::fieldNames() const {
  if (result == nullptr) return {};
  return result->fieldNames;
}

const mxArray& Outcome::field(const std::string& name) const {
  if (result != nullptr)
    for (std::size_t i = 0; i < result->fieldNames.size(); ++i)
      if (result->fieldNames[i] == name && result->fields[i] != nullptr) return *result->fields[i];
  throw std::out_of_range("no output field \"" + name + "\"");
}

Outcome call(Gateway gateway, int nlhs, const std::vector<const mxArray*>& inputs) {
  Outcome outcome;
  std::vector<mxArray*> outputs(static_cast<std::size_t>(nlhs > 0 ? nlhs : 1), nullptr);
  std::vector<const mxArray*> args(inputs);
  host::Outcome* outer = running;
  running = &outcome;
  try {
    gateway(nlhs, outputs.data(), static_cast<int>(args.size()), args.data());
    outcome.ok = true;
    outcome.result = outputs[0];
  } catch (const HostError& error) {
    outcome.error = error.what();
  } catch (...) {
    running = outer;
    throw;
  }
  running = outer;
  return outcome;
}

}  // namespace host
