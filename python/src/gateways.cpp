// The seven modules for Python: each call goes through the module's own gateway in the own host,
// with the inputs of its calling form made from NumPy arrays, so every output is the MEX file's
// bit for bit. The analysis runs without the GIL, on a thread count chosen per call.
#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <chrono>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/gateway/form.h"
#include "core/runtime/execution.h"
#include "daskent/gateway.h"
#include "granwick/gateway.h"
#include "host/host.h"
#include "morbane/gateway.h"
#include "pellory/gateway.h"
#include "python/src/host_arrays.h"
#include "quorvel/gateway.h"
#include "tillock/gateway.h"
#include "tillock/gateway_weight.h"
#include "vintarrow/gateway.h"

namespace binding {

namespace {

struct Module {
  const char* key;  // the module's name; the weight variant of Tillock is "Tillock/weight"
  host::Gateway gateway;
  const gateway::Signature& (*signature)();
};

const Module kModules[] = {
    {"Quorvel", quorvel::mexFunction, quorvel::signature},
    {"Daskent", daskent::mexFunction, daskent::signature},
    {"Morbane", morbane::mexFunction, morbane::signature},
    {"Tillock", tillock::mexFunction, tillock::signature},
    {"Tillock/weight", tillock::weight::mexFunction, tillock::weight::signature},
    {"Granwick", granwick::mexFunction, granwick::signature},
    {"Pellory", pellory::mexFunction, pellory::signature},
    {"Vintarrow", vintarrow::mexFunction, vintarrow::signature},
};

const Module& moduleNamed(const std::string& key) {
  for (const Module& module : kModules)
    if (key == module.key) return module;
  std::string known;
  for (const Module& module : kModules) known += (known.empty() ? "" : ", ") + std::string(module.key);
  throw py::value_error("no module named '" + key + "' (known: " + known + ")");
}

const char* kindName(gateway::InputKind kind) {
  switch (kind) {
    case gateway::InputKind::Record: return "record";
    case gateway::InputKind::Scalar: return "scalar";
    case gateway::InputKind::Fraction: return "fraction";
    case gateway::InputKind::Swept: return "swept";
    case gateway::InputKind::Periods: return "periods";
    case gateway::InputKind::Keyword: return "keyword";
  }
  return "";
}

const char* shapeName(gateway::Shape shape) {
  switch (shape) {
    case gateway::Shape::Scalar: return "scalar";
    case gateway::Shape::Echo: return "echo";
    case gateway::Shape::Periods: return "periods";
    case gateway::Shape::PerPeriod: return "per_period";
    case gateway::Shape::Matrix: return "matrix";
  }
  return "";
}

py::dict inputInfo(const gateway::InputInfo& input) {
  py::dict info;
  info["name"] = input.name;
  info["kind"] = kindName(input.kind);
  info["empty_allowed"] = input.empty == gateway::Empty::Allowed;
  info["optional"] = input.optional;
  py::list keywords;
  for (const char* const* k = input.keywords; k != nullptr && *k != nullptr; ++k)
    keywords.append(*k);
  info["keywords"] = keywords;
  return info;
}

// The calling form and fields the module declares.
py::dict signatureOf(const std::string& key) {
  const gateway::Signature& signature = moduleNamed(key).signature();
  py::dict result;
  result["module"] = signature.module;
  py::list inputs, fields;
  for (const gateway::InputInfo& input : signature.inputs) inputs.append(inputInfo(input));
  for (const gateway::Field& field : signature.fields) {
    py::dict info;
    info["name"] = field.name;
    info["shape"] = shapeName(field.shape);
    info["source"] = field.source != nullptr ? py::str(field.source) : py::str("");
    fields.append(info);
  }
  result["inputs"] = inputs;
  result["fields"] = fields;
  return result;
}

// One gateway call with the inputs in calling order. Returns (fields, console, error): the output
// structure as an ordered dict of 2-D arrays of the shapes the module gave (None when the call
// failed), the console text, and the host error's text without its final newline ("" when none).
// MemoryError when the host ran out of memory.
py::tuple callModule(const std::string& key, const py::sequence& args, int threads) {
  const Module& module = moduleNamed(key);
  std::vector<host::Value> values;
  values.reserve(args.size());
  for (const py::handle& arg : args) values.push_back(hostValue(arg));
  std::vector<const mxArray*> inputs;
  for (const host::Value& value : values) inputs.push_back(value.get());

  host::Outcome outcome;
  {
    py::gil_scoped_release unlocked;
    core::ThreadCountScope scope(threads);
    outcome = host::call(module.gateway, 1, inputs);
  }
  if (!outcome.ok) {
    std::string text = outcome.error;
    while (!text.empty() && text.back() == '\n') text.pop_back();
    if (text == "out of memory") throw std::bad_alloc();
    return py::make_tuple(py::none(), outcome.console, text);
  }
  py::dict fields;
  for (std::size_t i = 0; i < outcome.result->fieldNames.size(); ++i) {
    mxArray& field = *outcome.result->fields[i];
    fields[py::str(outcome.result->fieldNames[i])] =
        adoptMatrix(std::move(field.data), field.rows, field.cols);
  }
  return py::make_tuple(fields, outcome.console, "");
}

// The same call made `repeats` times from C++ with the host arrays built once: the seconds of each
// host::call and the freeing of its outputs, for the benchmark of the binding's own cost.
std::vector<double> timeHostCalls(const std::string& key, const py::sequence& args, int repeats,
                                  int threads) {
  const Module& module = moduleNamed(key);
  std::vector<host::Value> values;
  for (const py::handle& arg : args) values.push_back(hostValue(arg));
  std::vector<const mxArray*> inputs;
  for (const host::Value& value : values) inputs.push_back(value.get());
  std::vector<double> seconds;
  py::gil_scoped_release unlocked;
  core::ThreadCountScope scope(threads);
  for (int i = 0; i < repeats; ++i) {
    const auto start = std::chrono::steady_clock::now();
    bool ok = false;
    {
      const host::Outcome outcome = host::call(module.gateway, 1, inputs);
      ok = outcome.ok;
    }  // a caller's outputs are freed too
    seconds.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    if (!ok) throw std::runtime_error("the timed call failed");
  }
  return seconds;
}

py::list moduleKeys() {
  py::list keys;
  for (const Module& module : kModules) keys.append(module.key);
  return keys;
}

}  // namespace

void bindGateways(py::module_& m) {
  m.def("modules", &moduleKeys, "The modules a call can name, in table order.");
  m.def("signature", &signatureOf, py::arg("module"),
        "The module's calling form (inputs: name, kind, empty_allowed, optional, keywords) and its "
        "output fields (name, shape, source), as the module declares them.");
  m.def("call", &callModule, py::arg("module"), py::arg("args"), py::arg("threads") = 0,
        "Calls the module's gateway with the inputs in calling order (float64 arrays of at most "
        "two dimensions, or str). threads: worker threads of this call (0: the library's "
        "setting). Returns (fields, console, error): fields None and the module's error text when the "
        "call failed.");
  m.def("time_host_calls", &timeHostCalls, py::arg("module"), py::arg("args"), py::arg("repeats"),
        py::arg("threads") = 0,
        "Seconds of each of `repeats` host calls made from C++ with the inputs built once.");
  m.def("thread_count", [] { return core::threadCount(); },
        "Threads a call uses when it does not choose: SPECTRA_THREADS or every core.");
}

}  // namespace binding
