// Host arrays from NumPy values and NumPy arrays from host storage.
#include "python/src/host_arrays.h"

#include <cstring>
#include <string>

namespace binding {

namespace {

py::array_t<double, py::array::f_style> fortranDoubles(const py::handle& value, const char* name) {
  if (!py::isinstance<py::array>(value))
    throw py::type_error(std::string(name) + ": expected a NumPy array of float64");
  const py::array array = py::reinterpret_borrow<py::array>(value);
  if (!array.dtype().is(py::dtype::of<double>()))
    throw py::type_error(std::string(name) + ": expected float64 values, got " +
                         std::string(py::str(array.dtype())));
  // A float64 array converts without a cast; ensure() copies only when the layout differs.
  return py::array_t<double, py::array::f_style>::ensure(array);
}

template <class Owner>
py::capsule ownerOf(Owner* owner) {
  return py::capsule(owner, [](void* p) { delete static_cast<Owner*>(p); });
}

}  // namespace

host::Value hostValue(const py::handle& value) {
  if (py::isinstance<py::str>(value)) return host::text(value.cast<std::string>());
  const auto array = fortranDoubles(value, "input");
  if (!array) throw py::error_already_set();
  if (array.ndim() > 2) throw py::type_error("input: expected at most two dimensions");
  const std::size_t rows = array.ndim() >= 1 ? static_cast<std::size_t>(array.shape(0)) : 1;
  const std::size_t cols = array.ndim() == 2 ? static_cast<std::size_t>(array.shape(1)) : 1;
  auto result = std::make_unique<mxArray>();
  result->rows = rows;
  result->cols = cols;
  result->data.resize(rows * cols);
  if (rows * cols > 0) std::memcpy(result->data.data(), array.data(), rows * cols * sizeof(double));
  return result;
}

py::array adoptMatrix(std::vector<double>&& data, std::size_t rows, std::size_t cols) {
  auto* storage = new std::vector<double>(std::move(data));
  py::capsule owner = ownerOf(storage);
  const auto size = static_cast<py::ssize_t>(sizeof(double));
  return py::array(py::dtype::of<double>(),
                   {static_cast<py::ssize_t>(rows), static_cast<py::ssize_t>(cols)},
                   {size, size * static_cast<py::ssize_t>(rows)}, storage->data(), owner);
}

py::array adoptVector(std::vector<double>&& data) {
  auto* storage = new std::vector<double>(std::move(data));
  py::capsule owner = ownerOf(storage);
  return py::array(py::dtype::of<double>(), {static_cast<py::ssize_t>(storage->size())},
                   {static_cast<py::ssize_t>(sizeof(double))}, storage->data(), owner);
}

std::vector<double> vectorOf(const py::handle& value, const char* name) {
  if (!py::isinstance<py::array>(value))
    throw py::type_error(std::string(name) + ": expected a NumPy array of float64");
  const py::array array = py::reinterpret_borrow<py::array>(value);
  if (!array.dtype().is(py::dtype::of<double>()))
    throw py::type_error(std::string(name) + ": expected float64 values, got " +
                         std::string(py::str(array.dtype())));
  const auto contiguous = py::array_t<double, py::array::c_style>::ensure(array);
  if (!contiguous) throw py::error_already_set();
  return std::vector<double>(contiguous.data(), contiguous.data() + contiguous.size());
}

}  // namespace binding
