// Input checks of the gateways. The host's own accessors would read past an empty or mis-shaped
// array, so every such input is refused with a host error before any output exists.
#include "core/gateway/arguments.h"

#include <cstdio>
#include <cstring>
#include <limits>

namespace gateway {

namespace {

constexpr std::size_t kMaxCount = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max());

bool isRealDouble(const mxArray* input) {
  return mxIsDouble(input) && !mxIsComplex(input) && !mxIsSparse(input);
}

}  // namespace

void describe(Failure& failure, const char* module, const char* what, const char* name) {
  if (name != nullptr)
    std::snprintf(failure.text, sizeof failure.text, "%s::mexFunction - %s %s\n", module, name,
                  what);
  else
    std::snprintf(failure.text, sizeof failure.text, "%s::mexFunction - %s\n", module, what);
}

bool readVector(const mxArray* input, const char* module, const char* name, Empty empty,
                const double** data, std::int32_t* length, Failure& failure) {
  if (!isRealDouble(input)) {
    describe(failure, module, "must be a real double vector", name);
    return false;
  }
  const std::size_t rows = mxGetM(input);
  const std::size_t cols = mxGetN(input);
  const std::size_t larger = rows > cols ? rows : cols;
  const std::size_t elements = mxGetNumberOfElements(input);
  if (larger > elements || (elements == 0 && empty == Empty::Rejected)) {
    describe(failure, module, "must have at least one element", name);
    return false;
  }
  if (larger > kMaxCount) {
    describe(failure, module, "has more elements than a 32-bit count can hold", name);
    return false;
  }
  *data = elements == 0 ? nullptr : mxGetPr(input);
  *length = static_cast<std::int32_t>(larger);
  return true;
}

bool readScalar(const mxArray* input, const char* module, const char* name, double* value,
                Failure& failure) {
  if (!isRealDouble(input) || mxGetNumberOfElements(input) == 0) {
    describe(failure, module, "must be a real double scalar", name);
    return false;
  }
  *value = mxGetScalar(input);
  return true;
}

bool readFraction(const mxArray* input, const char* module, const char* name, double* value,
                  Failure& failure) {
  if (!readScalar(input, module, name, value, failure)) return false;
  if (!(*value >= 0.0 && *value <= 1.0)) {
    describe(failure, module, "must lie between 0 and 1", name);
    return false;
  }
  return true;
}

bool readCount(const mxArray* input, const char* module, const char* name, std::int32_t* count,
               Failure& failure) {
  double value = 0.0;
  if (!readScalar(input, module, name, &value, failure)) return false;
  // The negated comparisons also refuse NaN.
  if (!(value >= 1.0)) {
    describe(failure, module, "must be at least 1", name);
    return false;
  }
  if (!(value < 2147483648.0)) {
    describe(failure, module, "is larger than a 32-bit count can hold", name);
    return false;
  }
  *count = static_cast<std::int32_t>(value);
  return true;
}

bool readText(const mxArray* input, const char* module, const char* name, const char** text,
              Failure& failure) {
  char* copy = mxIsChar(input) ? mxArrayToString(input) : nullptr;
  if (copy == nullptr) {
    describe(failure, module, "must be text", name);
    return false;
  }
  // A text with a NUL inside would otherwise compare equal to its first part: such a text is
  // read as empty, which no keyword equals.
  *text = std::strlen(copy) == mxGetNumberOfElements(input) ? copy : "";
  return true;
}

bool readPeriodVector(const mxArray* input, const char* module, core::Periods* periods,
                      Failure& failure) {
  return readVector(input, module, "T", Empty::Rejected, &periods->data, &periods->count,
                    failure);
}

bool readPeriodRange(const mxArray* start, const mxArray* end, const mxArray* count,
                     const char* module, core::Periods* periods, Failure& failure) {
  periods->data = nullptr;
  return readScalar(start, module, "Tstart", &periods->start, failure) &&
         readCount(count, module, "nT", &periods->count, failure) &&
         readScalar(end, module, "Tend", &periods->end, failure);
}

void fillPeriods(double start, double end, std::int32_t count, double* periods) {
  const double step = (end - start) / static_cast<double>(count - 1);
  periods[0] = start;
  for (std::int32_t i = 1; i < count; ++i) periods[i] = step + periods[i - 1];
}

mxArray* createPeriodField(const mxArray* periodInput, core::Periods* periods) {
  if (periods->data != nullptr) {
    mxArray* copy = mxDuplicateArray(periodInput);
    periods->data = mxGetPr(copy);
    return copy;
  }
  mxArray* column = createMatrix(periods->count, 1);
  double* values = mxGetPr(column);
  fillPeriods(periods->start, periods->end, periods->count, values);
  periods->data = values;
  return column;
}

mxArray* createMatrix(std::int32_t rows, std::int32_t cols) {
  return mxCreateDoubleMatrix(static_cast<mwSize>(rows), static_cast<mwSize>(cols), mxREAL);
}

void storeStructure(mxArray* plhs[], int nFields, const char* const* names,
                    mxArray* const* arrays) {
  mxArray* structure = mxCreateStructMatrix(1, 1, nFields, const_cast<const char**>(names));
  plhs[0] = structure;
  for (int i = 0; i < nFields; ++i) mxSetFieldByNumber(structure, 0, i, arrays[i]);
}

}  // namespace gateway
