// The extension module sdofspectra._core: the modules' gateways, the measures, the target spectra
// and the record readers, with the library's errors as Python exceptions carrying their text.
#include <pybind11/pybind11.h>

#include "core/spectra/quantities.h"
#include "measures/error.h"
#include "records/error.h"

namespace py = pybind11;

namespace binding {

void bindGateways(py::module_& m);
void bindMeasures(py::module_& m);
void bindTargets(py::module_& m);
void bindRecords(py::module_& m);

namespace {

const char* quantityName(core::Quantity quantity) {
  switch (quantity) {
    case core::Quantity::Acceleration: return "acceleration";
    case core::Quantity::Velocity: return "velocity";
    case core::Quantity::Displacement: return "displacement";
    case core::Quantity::Force: return "force";
    case core::Quantity::Mass: return "mass";
    case core::Quantity::Period: return "period";
    case core::Quantity::Frequency: return "frequency";
    case core::Quantity::Ratio: return "ratio";
  }
  return "";
}

// What a field or input name means: its quantity, symbol and name in words; None for a name the
// modules do not use.
py::object quantityOf(const std::string& name) {
  const core::QuantityInfo* info = core::quantityOf(name);
  if (info == nullptr) return py::none();
  py::dict d;
  d["quantity"] = quantityName(info->quantity);
  d["symbol"] = info->symbol;
  d["words"] = info->words;
  return std::move(d);
}

}  // namespace

}  // namespace binding

PYBIND11_MODULE(_core, m) {
  m.doc() = "Response spectra of earthquake records: the library's C++ code, bit for bit.";
  // The readers' and the measures' errors are messages for the user about a value or a file.
  py::register_exception_translator([](std::exception_ptr p) {
    try {
      if (p) std::rethrow_exception(p);
    } catch (const records::Error& e) {
      PyErr_SetString(PyExc_ValueError, e.what());
    } catch (const measures::Error& e) {
      PyErr_SetString(PyExc_ValueError, e.what());
    }
  });
  m.def("quantity", &binding::quantityOf, py::arg("name"));
  binding::bindGateways(m);
  binding::bindMeasures(m);
  binding::bindTargets(m);
  binding::bindRecords(m);
#ifdef SPECTRA_VERSION
  m.attr("__version__") = SPECTRA_VERSION;
#endif
}
