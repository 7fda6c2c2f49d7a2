// Between NumPy and the own host: input arrays made from Python values, output fields handed to
// NumPy without copying.
#pragma once

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <vector>

#include "host/host.h"

namespace binding {

namespace py = pybind11;

// A host array from a Python value: str gives text; a float64 NumPy array of at most two
// dimensions gives a double array of its shape (a 1-D array of n elements is an n × 1 column, a
// 0-D array 1 × 1), its elements copied in column-major order. The value itself is never written.
// TypeError for any other type, dtype or dimension count.
host::Value hostValue(const py::handle& value);

// A NumPy array of shape (rows, cols), Fortran order, that takes over the storage of `data`.
py::array adoptMatrix(std::vector<double>&& data, std::size_t rows, std::size_t cols);

// A 1-D NumPy array that takes over the storage of `data`.
py::array adoptVector(std::vector<double>&& data);

// A float64 NumPy array (any shape, any strides) copied into a vector in C order; TypeError for
// another dtype.
std::vector<double> vectorOf(const py::handle& value, const char* name);

}  // namespace binding
