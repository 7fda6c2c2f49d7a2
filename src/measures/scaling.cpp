// Least-squares amplitude factors on ln Sa and the code rule that lifts a suite's mean spectrum.
#include "measures/scaling.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

#include "measures/error.h"

namespace measures {

namespace {

// The periods of the range and the target there, evaluated once for every record.
struct TargetOverRange {
  std::vector<std::size_t> indices;  // into the spectra's periods
  std::vector<double> sa;            // target Sa [g] at those periods
};

void requireRange(PeriodRange range) {
  if (!(std::isfinite(range.shortest) && std::isfinite(range.longest) && range.shortest >= 0.0 &&
        range.shortest <= range.longest))
    throw Error(fmt::format("scaling range T = {:g} to {:g} s: give two non-negative periods, "
                            "the shorter first",
                            range.shortest, range.longest));
}

TargetOverRange targetOverRange(const std::vector<double>& periods, const TargetSpectrum& target,
                                PeriodRange range) {
  requireRange(range);
  TargetOverRange over;
  for (std::size_t i = 0; i < periods.size(); ++i) {
    if (!(periods[i] >= range.shortest && periods[i] <= range.longest)) continue;
    const double sa = target.sa(periods[i]);
    if (!(sa > 0.0))
      throw Error(fmt::format("{}: Sa = {:g} g at period T = {:g} s; scaling needs a positive "
                              "target",
                              target.description(), sa, periods[i]));
    over.indices.push_back(i);
    over.sa.push_back(sa);
  }
  if (over.indices.empty())
    throw Error(fmt::format("no period of the spectra lies in the scaling range T = {:g} to {:g} "
                            "s; widen the range or compute the spectra at periods inside it",
                            range.shortest, range.longest));
  return over;
}

void requireOneValuePerPeriod(const std::vector<double>& periods, const RecordSpectrum& record) {
  if (record.sa.size() != periods.size())
    throw Error(fmt::format("record {}: {} values of Sa for {} periods", record.name,
                            record.sa.size(), periods.size()));
}

// ln f = mean of d = ln(target) − ln(Sa) over the range, which minimises Σ (d − ln f)²; the
// misfit is the root mean square of what remains.
RecordScaling fitRecord(const std::vector<double>& periods, const RecordSpectrum& record,
                        const TargetOverRange& over) {
  requireOneValuePerPeriod(periods, record);
  std::vector<double> logRatios;
  for (std::size_t k = 0; k < over.indices.size(); ++k) {
    const std::size_t i = over.indices[k];
    const double sa = record.sa[i];
    if (!(std::isfinite(sa) && sa > 0.0))
      throw Error(fmt::format("record {}: Sa = {:g} g at period T = {:g} s is not positive, so "
                              "no amplitude factor can bring it to the target; leave that "
                              "record out or narrow the scaling range",
                              record.name, sa, periods[i]));
    logRatios.push_back(std::log(over.sa[k]) - std::log(sa));
  }
  const double count = static_cast<double>(logRatios.size());
  double sum = 0.0;
  for (const double d : logRatios) sum += d;
  const double lnFactor = sum / count;
  double squares = 0.0;
  for (const double d : logRatios) squares += (d - lnFactor) * (d - lnFactor);
  return {record.name, std::exp(lnFactor), std::sqrt(squares / count), logRatios.size()};
}

// The arithmetic mean of the records' spectra, each times its own factor, at each period of the
// range.
std::vector<double> scaledMean(const std::vector<RecordSpectrum>& records,
                               const std::vector<RecordScaling>& fits,
                               const TargetOverRange& over) {
  std::vector<double> mean(over.indices.size(), 0.0);
  for (std::size_t k = 0; k < over.indices.size(); ++k) {
    for (std::size_t r = 0; r < records.size(); ++r)
      mean[k] += fits[r].factor * records[r].sa[over.indices[k]];
    mean[k] /= static_cast<double>(records.size());
  }
  return mean;
}

}  // namespace

PeriodRange eurocode8ScalingRange(double firstModePeriod) {
  if (!(std::isfinite(firstModePeriod) && firstModePeriod > 0.0))
    throw Error(fmt::format("Eurocode 8 scaling range: fundamental period T1 = {:g} s must be "
                            "positive",
                            firstModePeriod));
  return {0.2 * firstModePeriod, 2.0 * firstModePeriod};
}

PeriodRange asce7ScalingRange(double firstModePeriodX, double firstModePeriodY) {
  for (const double period : {firstModePeriodX, firstModePeriodY})
    if (!(std::isfinite(period) && period > 0.0))
      throw Error(fmt::format("ASCE 7-16 scaling range: first-mode period T = {:g} s must be "
                              "positive",
                              period));
  return {0.2 * std::min(firstModePeriodX, firstModePeriodY),
          2.0 * std::max(firstModePeriodX, firstModePeriodY)};
}

SuiteRule asce7SuiteRule() { return {"ASCE/SEI 7-16 §16.2.3", 0.9, 11}; }

SuiteRule eurocode8SuiteRule() { return {"EN 1998-1:2004 §3.2.3.1.2", 0.9, 3}; }

RecordScaling scaleRecord(const std::vector<double>& periods, const RecordSpectrum& record,
                          const TargetSpectrum& target, PeriodRange range) {
  return fitRecord(periods, record, targetOverRange(periods, target, range));
}

// The common factor is the largest ratio fraction·target/mean over the range, or 1 when no ratio
// exceeds 1; the binding period is where that ratio is largest (the first such period on a tie,
// from the strict comparison).
SuiteScaling scaleSuite(const std::vector<double>& periods,
                        const std::vector<RecordSpectrum>& records, const TargetSpectrum& target,
                        PeriodRange range, double fraction) {
  if (records.empty()) throw Error("scaling a suite needs at least one record");
  if (!(std::isfinite(fraction) && fraction > 0.0))
    throw Error(fmt::format("suite scaling: fraction of the target {:g} must be positive (0.9 "
                            "for ASCE 7-16 and Eurocode 8)",
                            fraction));
  const TargetOverRange over = targetOverRange(periods, target, range);
  SuiteScaling suite{};
  for (const RecordSpectrum& record : records)
    suite.records.push_back(fitRecord(periods, record, over));
  const std::vector<double> mean = scaledMean(records, suite.records, over);
  std::size_t binding = 0;
  for (std::size_t k = 1; k < mean.size(); ++k)
    if (fraction * over.sa[k] / mean[k] > fraction * over.sa[binding] / mean[binding]) binding = k;
  suite.commonFactor = std::max(1.0, fraction * over.sa[binding] / mean[binding]);
  suite.bindingPeriod = periods[over.indices[binding]];
  suite.ratioBefore = mean[binding] / over.sa[binding];
  suite.ratioAfter = suite.commonFactor * mean[binding] / over.sa[binding];
  for (const RecordScaling& record : suite.records)
    suite.factors.push_back(record.factor * suite.commonFactor);
  return suite;
}

}  // namespace measures
