// The measures beside the modules for Python: RotD spectra, constant-ductility spectra by the
// largest-strength rule and band-limited resampling, computed by the library's own code without
// the GIL, on a thread count chosen per call.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <string>
#include <vector>

#include "core/runtime/execution.h"
#include "measures/constant_ductility.h"
#include "measures/resample.h"
#include "measures/rotd.h"
#include "python/src/host_arrays.h"

namespace binding {

namespace {

// RotD spectra as named arrays in C order: (percentile, period, zeta) for RotDnn, (angle,
// period, zeta) for the peak at every angle, (period, zeta) for the rest, (zeta) for θ_I.
py::dict rotd(const py::handle& ag1, const py::handle& ag2, double dt, const py::handle& periods,
              const py::handle& dampingRatios, const py::handle& percentiles, double angleStep,
              int threads) {
  const std::vector<double> a1 = vectorOf(ag1, "acc1"), a2 = vectorOf(ag2, "acc2");
  const std::vector<double> T = vectorOf(periods, "periods");
  const std::vector<double> zeta = vectorOf(dampingRatios, "zeta");
  measures::RotDSettings settings;
  settings.percentiles = vectorOf(percentiles, "percentiles");
  settings.angleStepDegrees = angleStep;
  measures::RotDSpectra s;
  {
    py::gil_scoped_release unlocked;
    core::ThreadCountScope scope(threads);
    s = measures::rotdSpectra(a1, a2, dt, T, zeta, settings);
  }
  // The library's layouts are column-major (period fastest); transposed views give C order.
  auto block = [](std::vector<double>& data, std::size_t fast, std::size_t middle,
                  std::size_t slow) {
    return adoptVector(std::move(data))
        .attr("reshape")(py::make_tuple(slow, middle, fast))
        .attr("transpose")(py::make_tuple(0, 2, 1));
  };
  auto matrix = [](std::vector<double>& data, std::size_t nT, std::size_t nZeta) {
    return adoptMatrix(std::move(data), nT, nZeta);
  };
  const std::size_t nT = s.periods.size(), nZ = s.dampingRatios.size();
  const std::size_t nP = s.percentiles.size(), nA = s.angles.size();
  py::dict d;
  d["periods"] = adoptVector(std::move(s.periods));
  d["zeta"] = adoptVector(std::move(s.dampingRatios));
  d["percentiles"] = adoptVector(std::move(s.percentiles));
  d["angles"] = adoptVector(std::move(s.angles));
  d["sd"] = block(s.sd, nT, nZ, nP);
  d["psv"] = block(s.psv, nT, nZ, nP);
  d["psa"] = block(s.psa, nT, nZ, nP);
  d["angle_rotd00"] = matrix(s.angleRotD00, nT, nZ);
  d["angle_rotd100"] = matrix(s.angleRotD100, nT, nZ);
  // sdAtAngle: angle fastest, then period, then zeta: (zeta, period, angle) → (angle, period, zeta).
  d["sd_at_angle"] = adoptVector(std::move(s.sdAtAngle))
                         .attr("reshape")(py::make_tuple(nZ, nT, nA))
                         .attr("transpose")(py::make_tuple(2, 1, 0));
  d["geomean_sd"] = matrix(s.geoMeanSd, nT, nZ);
  d["geomean_psv"] = matrix(s.geoMeanPsv, nT, nZ);
  d["geomean_psa"] = matrix(s.geoMeanPsa, nT, nZ);
  d["gmroti50_sd"] = matrix(s.gmRotI50Sd, nT, nZ);
  d["gmroti50_psv"] = matrix(s.gmRotI50Psv, nT, nZ);
  d["gmroti50_psa"] = matrix(s.gmRotI50Psa, nT, nZ);
  d["gmrotd50_sd"] = matrix(s.gmRotD50Sd, nT, nZ);
  d["gmroti50_angle"] = adoptVector(std::move(s.gmRotI50Angle));
  return d;
}

const char* statusName(measures::DuctilityStatus status) {
  switch (status) {
    case measures::DuctilityStatus::Reached: return "reached";
    case measures::DuctilityStatus::NotReached: return "not reached";
    case measures::DuctilityStatus::TrialsFailed: return "trials failed";
  }
  return "";
}

measures::DuctilitySearch searchFrom(const py::dict& given) {
  measures::DuctilitySearch search;
  for (const auto& [key, value] : given) {
    const std::string name = py::str(key);
    const double v = value.cast<double>();
    if (name == "scan_factor") search.scanFactor = v;
    else if (name == "fine_scan_factor") search.fineScanFactor = v;
    else if (name == "near_fraction") search.nearFraction = v;
    else if (name == "r_max") search.rMax = v;
    else if (name == "tolerance") search.tolerance = v;
    else
      throw py::type_error("search: unknown setting '" + name +
                           "' (known: scan_factor, fine_scan_factor, near_fraction, r_max, "
                           "tolerance)");
  }
  return search;
}

// Constant-ductility spectrum: every point's values as (period, zeta) arrays, the status as
// text, and the warnings.
py::dict constantDuctility(const py::handle& ag, double dt, const py::handle& periods,
                           const py::handle& dampingRatios, double mass, double kin, double iso,
                           double ductility, const py::dict& searchSettings, int threads) {
  const std::vector<double> record = vectorOf(ag, "acc");
  measures::DuctilityOscillators oscillators;
  oscillators.periods = vectorOf(periods, "periods");
  oscillators.dampingRatios = vectorOf(dampingRatios, "zeta");
  oscillators.mass = mass;
  oscillators.kin = kin;
  oscillators.iso = iso;
  const measures::DuctilitySearch search = searchFrom(searchSettings);
  measures::ConstantDuctilitySpectrum s;
  {
    py::gil_scoped_release unlocked;
    core::ThreadCountScope scope(threads);
    s = measures::constantDuctilitySpectrum(record, dt, oscillators, ductility, search);
  }
  const auto nT = static_cast<std::size_t>(s.periodCount);
  const auto nZ = static_cast<std::size_t>(s.dampingCount);
  auto column = [&](auto member) {
    std::vector<double> values;
    values.reserve(s.points.size());
    for (const measures::DuctilityPoint& p : s.points) values.push_back(static_cast<double>(p.*member));
    return adoptMatrix(std::move(values), nT, nZ);
  };
  py::dict d;
  d["yield_strength"] = column(&measures::DuctilityPoint::yieldStrength);
  d["reduction_factor"] = column(&measures::DuctilityPoint::reductionFactor);
  d["yield_displacement"] = column(&measures::DuctilityPoint::yieldDisplacement);
  d["ductility"] = column(&measures::DuctilityPoint::ductility);
  d["peak_displacement"] = column(&measures::DuctilityPoint::peakDisplacement);
  d["elastic_force"] = column(&measures::DuctilityPoint::elasticForce);
  d["largest_ductility"] = column(&measures::DuctilityPoint::largestDuctility);
  d["trials"] = column(&measures::DuctilityPoint::trials);
  d["failed_trials"] = column(&measures::DuctilityPoint::failedTrials);
  py::list status;
  for (const measures::DuctilityPoint& p : s.points) status.append(statusName(p.status));
  d["status"] = status;
  d["warnings"] = s.warnings;
  return d;
}

py::dict pairComponents(const py::handle& ag1, double dt1, const py::handle& ag2, double dt2) {
  measures::ComponentPair pair =
      measures::pairComponents(vectorOf(ag1, "acc1"), dt1, vectorOf(ag2, "acc2"), dt2);
  py::dict d;
  d["acc1"] = adoptVector(std::move(pair.ag1));
  d["acc2"] = adoptVector(std::move(pair.ag2));
  d["dt"] = pair.dt;
  d["factor1"] = pair.factor1;
  d["factor2"] = pair.factor2;
  return d;
}

}  // namespace

void bindMeasures(py::module_& m) {
  m.def("rotd", &rotd, py::arg("acc1"), py::arg("acc2"), py::arg("dt"), py::arg("periods"),
        py::arg("zeta"), py::arg("percentiles"), py::arg("angle_step"), py::arg("threads") = 0);
  m.def("constant_ductility", &constantDuctility, py::arg("acc"), py::arg("dt"),
        py::arg("periods"), py::arg("zeta"), py::arg("mass"), py::arg("kin"), py::arg("iso"),
        py::arg("mu"), py::arg("search"), py::arg("threads") = 0);
  m.def(
      "resample",
      [](const py::handle& record, int factor) {
        std::vector<double> samples = vectorOf(record, "acc");
        {
          py::gil_scoped_release unlocked;
          samples = measures::resample(samples, factor);
        }
        return adoptVector(std::move(samples));
      },
      py::arg("acc"), py::arg("factor"));
  m.def("resample_factor", &measures::resampleFactor, py::arg("dt"), py::arg("shortest_period"));
  m.def("pair_components", &pairComponents, py::arg("acc1"), py::arg("dt1"), py::arg("acc2"),
        py::arg("dt2"));
}

}  // namespace binding
