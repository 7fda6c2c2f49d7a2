// Targets, suites and scale factors of the program's runs (measures/design_spectra.h, suite.h,
// scaling.h).
#include "cli/app/target_run.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "cli/app/error.h"
#include "cli/writers/atomic_file.h"
#include "cli/writers/data_table.h"
#include "cli/writers/figure_writer.h"
#include "cli/writers/measure_plots.h"
#include "measures/error.h"
#include "measures/scaling.h"
#include "measures/suite.h"
#include "records/numbers.h"

namespace cli {

namespace {

constexpr int kTargetPoints = 400;
constexpr int kRecordColour = 8;  // grey
constexpr int kTargetColour = 1;  // red
const char* const kSaLabel = "Pseudo-spectral acceleration Sa [g]";

// The target over the periods [lo, hi] it defines, evenly in T (or in log T on a log axis).
plot::Series targetCurve(const measures::TargetSpectrum& target, double lo, double hi, bool log) {
  lo = std::max(lo, target.shortestPeriod());
  hi = std::min(hi, target.longestPeriod());
  plot::Series curve;
  curve.label = target.description();
  curve.colour = kTargetColour;
  curve.dash = plot::Dash::Dashed;
  curve.width = 2.2;
  if (!(lo <= hi)) return curve;
  for (int k = 0; k < kTargetPoints; ++k) {
    const double f = static_cast<double>(k) / (kTargetPoints - 1);
    const double T = log && lo > 0 ? lo * std::pow(hi / lo, f) : lo + f * (hi - lo);
    curve.x.push_back(T);
    curve.y.push_back(target.sa(std::min(std::max(T, lo), hi)));
  }
  return curve;
}

std::pair<double, double> periodSpan(const std::vector<double>& periods) {
  const auto [lo, hi] = std::minmax_element(periods.begin(), periods.end());
  return {*lo, *hi};
}

std::string rangeText(const measures::PeriodRange& range) {
  return fmt::format("T = {:g} to {:g} s", range.shortest, range.longest);
}

std::string measureError(const measures::Error& error) { return error.what(); }

// --- suite statistics -------------------------------------------------------------------------

std::vector<measures::RecordSpectrum> chosenSpectra(const std::vector<SaSpectrum>& spectra) {
  std::vector<measures::RecordSpectrum> chosen;
  for (const SaSpectrum& s : spectra) chosen.push_back(s.chosenSpectrum());
  return chosen;
}

std::string outputPath(const Request& request, const std::string& stem, const std::string& ext) {
  return (std::filesystem::path(request.output.outDir) / (stem + "." + ext)).string();
}

std::vector<std::string> writeStatistics(const Request& request,
                                         const std::vector<SaSpectrum>& spectra,
                                         const std::optional<Target>& target,
                                         std::string& summary) {
  const std::vector<double>& periods = spectra.front().periods;
  const std::vector<measures::RecordSpectrum> records = chosenSpectra(spectra);
  measures::SuiteStatistics stats;
  std::vector<double> mean;
  try {
    stats = measures::suiteStatistics(periods, records);
    mean = measures::arithmeticMean(periods, records);
  } catch (const measures::Error& error) {
    throw Error("--suite-stats: " + measureError(error));
  }
  const std::string curve = spectra.front().labels.at(spectra.front().chosen);
  DataTable table{{{"period T", "s", periods},
                   {"log-mean Sa", "g", stats.logMean},
                   {"σ of ln Sa", "-", stats.lnSigma},
                   {"Sa −1σ", "g", stats.minusSigma},
                   {"Sa +1σ", "g", stats.plusSigma},
                   {"arithmetic mean Sa", "g", mean}}};
  nlohmann::ordered_json document = {{"measure", spectra.front().measure},
                                     {"curve", curve},
                                     {"records", nlohmann::ordered_json::array()}};
  for (const SaSpectrum& s : spectra) document["records"].push_back(s.name);
  std::vector<std::string> written;
  const std::string data = outputPath(request, "suite", request.output.outFormat);
  writeFileAtomically(data, dataFileText(data, document, table));
  written.push_back(data);
  summary += fmt::format("suite of {} records, {} ({}): log-mean and ±1σ in {}\n", spectra.size(),
                         spectra.front().measure, curve, data);
  if (request.output.plotFormat.empty()) return written;
  const AxisScales scales = axisScales(request.output.axes);
  plot::Panel panel;
  panel.x = periodAxis(periods, scales.x);
  panel.y = valueAxis(kSaLabel, scales.y);
  for (std::size_t r = 0; r < spectra.size(); ++r) {
    plot::Series record = periodSeries(periods, records[r].sa, r == 0 ? "records" : "", scales.x);
    record.colour = kRecordColour;
    record.width = 0.8;
    record.markers = false;
    panel.series.push_back(record);
  }
  plot::Band band;
  band.x = periods;
  band.lower = stats.minusSigma;
  band.upper = stats.plusSigma;
  band.label = "log-mean ±1σ";
  panel.bands.push_back(band);
  plot::Series logMean = periodSeries(periods, stats.logMean, "log-mean", scales.x);
  logMean.colour = 0;
  logMean.width = 2.8;
  panel.series.push_back(logMean);
  if (target) {
    const auto [lo, hi] = periodSpan(periods);
    panel.series.push_back(targetCurve(*target->spectrum, lo, hi, scales.x == plot::Scale::Log));
  }
  plot::Figure figure;
  figure.title = fmt::format("Suite of {} records: {}, {}", spectra.size(),
                             spectra.front().measure, curve);
  figure.panels = {panel};
  figure.panelHeight = 480;
  const std::string plot = outputPath(request, "suite", request.output.plotFormat);
  plot::writeFigure(figure, plot);
  written.push_back(plot);
  return written;
}

// --- scaling ----------------------------------------------------------------------------------

std::optional<measures::SuiteRule> ruleOf(const std::string& name) {
  if (name == "asce7") return measures::asce7SuiteRule();
  if (name == "ec8") return measures::eurocode8SuiteRule();
  return std::nullopt;
}

std::string scalingCsv(const measures::SuiteScaling& s) {
  std::string text = "record,factor [-],least-squares factor [-],misfit (RMS of ln Sa) [-],periods used\n";
  for (std::size_t r = 0; r < s.records.size(); ++r)
    text += fmt::format("{},{},{},{},{}\n", s.records[r].name, records::roundTrip(s.factors[r]),
                        records::roundTrip(s.records[r].factor),
                        records::roundTrip(s.records[r].misfit), s.records[r].periodsUsed);
  return text;
}

nlohmann::ordered_json scalingJson(const measures::SuiteScaling& s, const Target& target,
                                   const measures::PeriodRange& range,
                                   const std::optional<measures::SuiteRule>& rule,
                                   const std::string& curve) {
  nlohmann::ordered_json records = nlohmann::ordered_json::array();
  for (std::size_t r = 0; r < s.records.size(); ++r)
    records.push_back({{"name", s.records[r].name},
                       {"factor", jsonNumber(s.factors[r])},
                       {"leastSquaresFactor", jsonNumber(s.records[r].factor)},
                       {"misfit", jsonNumber(s.records[r].misfit)},
                       {"periodsUsed", s.records[r].periodsUsed}});
  nlohmann::ordered_json doc = {{"target", target.spectrum->description()},
                                {"curve", curve},
                                {"range", {range.shortest, range.longest}}};
  if (rule)
    doc["rule"] = {{"name", rule->name},
                   {"fraction", rule->fraction},
                   {"minimumRecords", rule->minimumRecords},
                   {"commonFactor", jsonNumber(s.commonFactor)},
                   {"bindingPeriod", jsonNumber(s.bindingPeriod)},
                   {"ratioBefore", jsonNumber(s.ratioBefore)},
                   {"ratioAfter", jsonNumber(s.ratioAfter)}};
  doc["records"] = records;
  return doc;
}

// Each record's least-squares factor; with a rule, the suite's common factor on top.
measures::SuiteScaling scaleAll(const std::vector<SaSpectrum>& spectra, const Target& target,
                                const measures::PeriodRange& range,
                                const std::optional<measures::SuiteRule>& rule) {
  const std::vector<double>& periods = spectra.front().periods;
  const std::vector<measures::RecordSpectrum> records = chosenSpectra(spectra);
  if (rule) return measures::scaleSuite(periods, records, *target.spectrum, range, rule->fraction);
  measures::SuiteScaling s{};
  s.commonFactor = 1.0;
  for (const measures::RecordSpectrum& r : records) {
    s.records.push_back(measures::scaleRecord(periods, r, *target.spectrum, range));
    s.factors.push_back(s.records.back().factor);
  }
  return s;
}

std::vector<std::string> writeScaling(const Request& request,
                                      const std::vector<SaSpectrum>& spectra,
                                      const Target& target, std::string& summary) {
  const measures::PeriodRange range = parseRange(request.measures.range);
  const std::optional<measures::SuiteRule> rule = ruleOf(request.measures.rule);
  measures::SuiteScaling s;
  try {
    s = scaleAll(spectra, target, range, rule);
  } catch (const measures::Error& error) {
    throw Error("--scale-to-target: " + measureError(error));
  }
  const std::string curve = spectra.front().labels.at(spectra.front().chosen);
  summary += fmt::format("scale factors to the {}, {} over {}:\n", target.spectrum->description(),
                         curve, rangeText(range));
  std::size_t width = 6;
  for (const measures::RecordScaling& r : s.records) width = std::max(width, r.name.size());
  summary += fmt::format("  {:<{}} {:>10} {:>14} {:>10}\n", "record", width, "factor",
                         "least squares", "misfit");
  for (std::size_t r = 0; r < s.records.size(); ++r)
    summary += fmt::format("  {:<{}} {:>10.4g} {:>14.4g} {:>10.3g}\n", s.records[r].name, width,
                           s.factors[r], s.records[r].factor, s.records[r].misfit);
  if (rule) {
    summary += fmt::format(
        "  suite: common factor {:.4g} so that the mean stays at or above {:g} % of the target "
        "({}); lowest mean/target {:.3g} at T = {:g} s before, {:.3g} after\n",
        s.commonFactor, 100 * rule->fraction, rule->name, s.ratioBefore, s.bindingPeriod,
        s.ratioAfter);
    if (spectra.size() < rule->minimumRecords)
      summary += fmt::format("  warning: {} asks for at least {} records; the suite has {}\n",
                             rule->name, rule->minimumRecords, spectra.size());
  }
  const std::string data = outputPath(request, "scaling", request.output.outFormat);
  writeFileAtomically(data, request.output.outFormat == "json"
                                ? jsonOf(scalingJson(s, target, range, rule, curve))
                                : scalingCsv(s));
  return {data};
}

}  // namespace

std::size_t chosenCurve(const std::vector<double>& dampingRatios,
                        const std::optional<Target>& target, std::size_t curvesPerDamping,
                        std::size_t preferred) {
  std::size_t j = 0;
  if (target && target->dampingRatio) {
    const auto at = std::find_if(dampingRatios.begin(), dampingRatios.end(), [&](double z) {
      return std::fabs(z - *target->dampingRatio) <= 1e-12;
    });
    if (at == dampingRatios.end())
      throw Error(fmt::format("--target is defined for ζ = {:g} %: add {} to --zeta",
                              100 * *target->dampingRatio,
                              records::roundTrip(*target->dampingRatio)));
    j = static_cast<std::size_t>(at - dampingRatios.begin());
  }
  return j * curvesPerDamping + preferred;
}

plot::Figure targetFigure(const SaSpectrum& sa, const std::optional<Target>& target,
                          const std::string& title, const std::string& subtitle,
                          const std::string& axes) {
  const AxisScales scales = axisScales(axes);
  plot::Panel panel;
  panel.x = periodAxis(sa.periods, scales.x);
  panel.y = valueAxis(kSaLabel, scales.y);
  // The record's curves skip the target's colour.
  for (std::size_t k = 0; k < sa.curves.size(); ++k) {
    plot::Series curve = periodSeries(sa.periods, sa.curves[k], sa.labels[k], scales.x);
    curve.colour = static_cast<int>(k) < kTargetColour ? static_cast<int>(k)
                                                       : static_cast<int>(k) + 1;
    panel.series.push_back(curve);
  }
  if (target) {
    const auto [lo, hi] = periodSpan(sa.periods);
    panel.series.push_back(targetCurve(*target->spectrum, lo, hi, scales.x == plot::Scale::Log));
  }
  plot::Figure figure;
  figure.title = title;
  figure.subtitle = subtitle;
  figure.panels = {panel};
  figure.panelHeight = 480;
  return figure;
}

std::string scalingLine(const SaSpectrum& sa, const Target& target,
                        const measures::PeriodRange& range) {
  try {
    const measures::RecordScaling s =
        measures::scaleRecord(sa.periods, sa.chosenSpectrum(), *target.spectrum, range);
    return fmt::format(
        "scale factor to the {} over {} ({}): f = {:.6g} (RMS misfit of ln Sa {:.3g} over {} "
        "periods)\n",
        target.spectrum->description(), rangeText(range), sa.labels.at(sa.chosen), s.factor,
        s.misfit, s.periodsUsed);
  } catch (const measures::Error& error) {
    throw Error("--scale-to-target: " + measureError(error));
  }
}

std::vector<std::string> writeSuiteReports(const Request& request,
                                           const std::vector<SaSpectrum>& spectra,
                                           std::string& summary) {
  const MeasureOptions& m = request.measures;
  if (spectra.empty() || (!m.suiteStats && !m.scaleToTarget)) return {};
  const std::optional<Target> target =
      m.target.empty() ? std::nullopt : std::optional<Target>(parseTarget(m.target));
  std::vector<std::string> written;
  if (m.suiteStats) written = writeStatistics(request, spectra, target, summary);
  if (m.scaleToTarget) {
    const std::vector<std::string> more = writeScaling(request, spectra, *target, summary);
    written.insert(written.end(), more.begin(), more.end());
  }
  return written;
}

}  // namespace cli
