// Calling a gateway through the project's own host: building input arrays, running one call with
// its console captured and its host error caught, and reading the output structure.
#pragma once

#include <cstddef>
#include <exception>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "host/host_mex.h"

// A host array: numeric data (column-major), text, or a 1 x 1 structure of named fields.
struct mxArray {
  enum class Class { Double, Single, Logical, Int32, Char, Struct, Cell };
  Class cls = Class::Double;
  std::size_t rows = 0;
  std::size_t cols = 0;
  std::vector<double> data;  // numeric values of every numeric class
  bool complex = false;
  bool sparse = false;
  std::string text;  // Char arrays
  std::vector<std::string> fieldNames;
  std::vector<mxArray*> fields;  // owned by the call that created the structure
};

namespace host {

using Gateway = void (*)(int nlhs, mxArray* plhs[], int nrhs, const mxArray* prhs[]);
using Value = std::unique_ptr<mxArray>;

// The host error that mexErrMsgTxt raises; the host catches it around the gateway. Raising it
// allocates nothing, so that a call that ran out of memory can still end with its error.
class HostError : public std::exception {
 public:
  explicit HostError(const char* message);
  const char* what() const noexcept override { return text_; }

 private:
  char text_[512];
};

Value matrix(std::size_t rows, std::size_t cols, const std::vector<double>& columnMajor);
Value column(const std::vector<double>& values);
Value row(const std::vector<double>& values);
Value scalar(double value);
Value text(const std::string& value);
// An array of another class (single, logical, int32, cell, ...), for rejection tests.
Value ofClass(mxArray::Class cls, std::size_t rows, std::size_t cols);

// What one gateway call left behind. It owns every array the call created.
struct Outcome {
  bool ok = false;
  std::string error;    // text of the host error when !ok
  std::string console;  // everything printed through mexPrintf
  const mxArray* result = nullptr;
  std::vector<std::unique_ptr<mxArray>> arena;
  std::vector<std::unique_ptr<char[]>> strings;

  std::vector<std::string> fieldNames() const;
  // A field of the output structure; throws std::out_of_range for an unknown name.
  const mxArray& field(const std::string& name) const;
  const std::vector<double>& values(const std::string& name) const { return field(name).data; }
};

// Runs one gateway call: nlhs outputs requested, the inputs given in order. A host error ends the
// call and is reported in the outcome (an array the host cannot allocate raises "out of
// memory"); any other exception passes through, since a real host would abort on it.
Outcome call(Gateway gateway, int nlhs, const std::vector<const mxArray*>& inputs);

}  // namespace host
