// Target spectra, suite statistics and amplitude scaling for Python, on the library's own code.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <memory>
#include <string>
#include <vector>

#include "measures/design_spectra.h"
#include "measures/scaling.h"
#include "measures/suite.h"
#include "python/src/host_arrays.h"

namespace binding {

namespace {

using measures::TargetSpectrum;

// Sa [g] at every period of an array-like of numbers, in its shape.
py::array saAt(const TargetSpectrum& target, const py::handle& periods) {
  const auto given = py::array_t<double, py::array::forcecast>::ensure(periods);
  if (!given) throw py::type_error("periods: expected numbers");
  std::vector<double> sa = vectorOf(given, "periods");
  for (double& value : sa) value = target.sa(value);
  return adoptVector(std::move(sa)).attr("reshape")(given.attr("shape"));
}

std::vector<measures::RecordSpectrum> spectraOf(const std::vector<std::string>& names,
                                                const std::vector<std::vector<double>>& sa) {
  if (names.size() != sa.size()) throw py::value_error("one name per record spectrum is needed");
  std::vector<measures::RecordSpectrum> records;
  for (std::size_t i = 0; i < names.size(); ++i) records.push_back({names[i], sa[i]});
  return records;
}

py::dict scalingOf(const measures::RecordScaling& s) {
  py::dict d;
  d["name"] = s.name;
  d["factor"] = s.factor;
  d["misfit"] = s.misfit;
  d["periods_used"] = s.periodsUsed;
  return d;
}

void bindTargetClasses(py::module_& m) {
  py::class_<TargetSpectrum, std::shared_ptr<TargetSpectrum>>(m, "TargetSpectrum")
      .def("sa", &saAt, py::arg("periods"), "Sa [g] at the periods T [s], in their shape.")
      .def_property_readonly("shortest_period", &TargetSpectrum::shortestPeriod)
      .def_property_readonly("longest_period", &TargetSpectrum::longestPeriod)
      .def_property_readonly("description", &TargetSpectrum::description)
      .def("__repr__", [](const TargetSpectrum& t) { return "<target spectrum: " + t.description() + ">"; });
  py::class_<measures::Asce7Spectrum, TargetSpectrum, std::shared_ptr<measures::Asce7Spectrum>>(
      m, "Asce7Spectrum")
      .def(py::init<double, double, double>(), py::arg("sds"), py::arg("sd1"), py::arg("tl"))
      .def_property_readonly("t0", &measures::Asce7Spectrum::t0)
      .def_property_readonly("ts", &measures::Asce7Spectrum::ts);
  py::class_<measures::Eurocode8Spectrum, TargetSpectrum,
             std::shared_ptr<measures::Eurocode8Spectrum>>(m, "Eurocode8Spectrum")
      .def(py::init([](const std::string& type, const std::string& ground, double ag, double zeta) {
             return std::make_shared<measures::Eurocode8Spectrum>(
                 measures::parseEurocode8Type(type), measures::parseGroundType(ground), ag, zeta);
           }),
           py::arg("type"), py::arg("ground"), py::arg("ag"), py::arg("zeta") = 0.05)
      .def_property_readonly("eta", &measures::Eurocode8Spectrum::eta);
  py::class_<measures::Eurocode8DesignSpectrum, TargetSpectrum,
             std::shared_ptr<measures::Eurocode8DesignSpectrum>>(m, "Eurocode8DesignSpectrum")
      .def(py::init([](const std::string& type, const std::string& ground, double ag, double q,
                       double beta) {
             return std::make_shared<measures::Eurocode8DesignSpectrum>(
                 measures::parseEurocode8Type(type), measures::parseGroundType(ground), ag, q,
                 beta);
           }),
           py::arg("type"), py::arg("ground"), py::arg("ag"), py::arg("q"), py::arg("beta") = 0.2);
  py::class_<measures::TableSpectrum, TargetSpectrum, std::shared_ptr<measures::TableSpectrum>>(
      m, "TableSpectrum")
      .def(py::init<std::vector<double>, std::vector<double>, std::string>(), py::arg("periods"),
           py::arg("sa"), py::arg("source") = "table");
}

}  // namespace

void bindTargets(py::module_& m) {
  bindTargetClasses(m);
  m.def("suite_statistics",
        [](const std::vector<double>& periods, const std::vector<std::string>& names,
           const std::vector<std::vector<double>>& sa) {
          measures::SuiteStatistics s = measures::suiteStatistics(periods, spectraOf(names, sa));
          py::dict d;
          d["log_mean"] = adoptVector(std::move(s.logMean));
          d["ln_sigma"] = adoptVector(std::move(s.lnSigma));
          d["minus_sigma"] = adoptVector(std::move(s.minusSigma));
          d["plus_sigma"] = adoptVector(std::move(s.plusSigma));
          return d;
        },
        py::arg("periods"), py::arg("names"), py::arg("sa"));
  m.def("arithmetic_mean",
        [](const std::vector<double>& periods, const std::vector<std::string>& names,
           const std::vector<std::vector<double>>& sa) {
          return adoptVector(measures::arithmeticMean(periods, spectraOf(names, sa)));
        },
        py::arg("periods"), py::arg("names"), py::arg("sa"));
  m.def("scale_record",
        [](const std::vector<double>& periods, const std::string& name,
           const std::vector<double>& sa, const TargetSpectrum& target, double shortest,
           double longest) {
          return scalingOf(
              measures::scaleRecord(periods, {name, sa}, target, {shortest, longest}));
        },
        py::arg("periods"), py::arg("name"), py::arg("sa"), py::arg("target"),
        py::arg("shortest"), py::arg("longest"));
  m.def("scale_suite",
        [](const std::vector<double>& periods, const std::vector<std::string>& names,
           const std::vector<std::vector<double>>& sa, const TargetSpectrum& target,
           double shortest, double longest, double fraction) {
          const measures::SuiteScaling s = measures::scaleSuite(
              periods, spectraOf(names, sa), target, {shortest, longest}, fraction);
          py::dict d;
          py::list records;
          for (const measures::RecordScaling& r : s.records) records.append(scalingOf(r));
          d["records"] = records;
          d["common_factor"] = s.commonFactor;
          d["factors"] = s.factors;
          d["binding_period"] = s.bindingPeriod;
          d["ratio_before"] = s.ratioBefore;
          d["ratio_after"] = s.ratioAfter;
          return d;
        },
        py::arg("periods"), py::arg("names"), py::arg("sa"), py::arg("target"),
        py::arg("shortest"), py::arg("longest"), py::arg("fraction"));
  m.def("eurocode8_scaling_range",
        [](double t1) {
          const measures::PeriodRange r = measures::eurocode8ScalingRange(t1);
          return py::make_tuple(r.shortest, r.longest);
        },
        py::arg("t1"));
  m.def("asce7_scaling_range",
        [](double tx, double ty) {
          const measures::PeriodRange r = measures::asce7ScalingRange(tx, ty);
          return py::make_tuple(r.shortest, r.longest);
        },
        py::arg("t1x"), py::arg("t1y"));
  m.def("suite_rule", [](const std::string& code) {
    const measures::SuiteRule rule =
        code == "asce7" ? measures::asce7SuiteRule() : measures::eurocode8SuiteRule();
    return py::make_tuple(rule.name, rule.fraction, rule.minimumRecords);
  });
}

}  // namespace binding
