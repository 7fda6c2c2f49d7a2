// The record readers, units and the synthetic record for Python: the command-line program's own
// code, so a file reads to the same samples in both.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <optional>
#include <string>

#include "python/src/host_arrays.h"
#include "records/error.h"
#include "records/record_reader.h"
#include "records/synthetic_record.h"
#include "records/units.h"

namespace binding {

namespace {

py::dict infoOf(const records::RecordInfo& info) {
  py::dict d;
  d["format"] = info.format;
  d["event"] = info.event;
  d["station"] = info.station;
  d["component"] = info.component;
  d["start_time"] = info.startTime;
  d["note"] = info.note;
  return d;
}

// The file's samples as it states them, with its step, unit and what it says of the recording.
py::dict readRecord(const std::string& path, const std::string& format, const std::string& column,
                    std::optional<double> dt, int channel) {
  records::ReadOptions options;
  options.format = format;
  options.column = column;
  options.dt = dt;
  options.channel = channel;
  records::Record record;
  {
    py::gil_scoped_release unlocked;
    record = records::readRecord(path, options);
  }
  py::dict result;
  result["path"] = record.path;
  result["dt"] = record.dt;
  result["stated_unit"] = record.statedUnit;
  result["info"] = infoOf(record.info);
  result["samples"] = adoptVector(std::move(record.samples));
  return result;
}

// The samples converted as the program converts them before a call: from the stated unit (or
// `units` for a file that states none, g when empty) to out_units, times scale.
py::array convertSamples(const py::handle& samples, const std::string& path,
                         const std::string& statedUnit, const std::string& units,
                         const std::string& outUnits, double scale) {
  records::Record record;
  record.path = path;
  record.samples = vectorOf(samples, "samples");
  record.statedUnit = statedUnit;
  return adoptVector(records::samplesInOutputUnits(record, {units, outUnits, scale}));
}

py::dict unitOf(const std::string& text) {
  const records::Unit& unit = records::findUnit(text);
  py::dict d;
  d["name"] = unit.name;
  d["metres_per_s2"] = unit.metresPerS2;
  d["length"] = unit.length;
  d["velocity"] = unit.velocity;
  d["gravity"] = records::gravityIn(unit);
  return d;
}

}  // namespace

void bindRecords(py::module_& m) {
  m.def("read_record", &readRecord, py::arg("path"), py::arg("format") = "auto",
        py::arg("column") = "", py::arg("dt") = std::nullopt, py::arg("channel") = 0);
  m.def("record_formats", &records::recordFormats);
  m.def("convert_samples", &convertSamples, py::arg("samples"), py::arg("path"),
        py::arg("stated_unit"), py::arg("units"), py::arg("out_units"), py::arg("scale") = 1.0);
  m.def("unit", &unitOf, py::arg("text"));
  m.def(
      "synthetic_record",
      [](std::int32_t n, double dt, std::uint64_t seed, double peak) {
        return adoptVector(records::syntheticRecord(n, dt, seed, peak));
      },
      py::arg("n"), py::arg("dt"), py::arg("seed"), py::arg("peak"));
}

}  // namespace binding
