// Log-mean, ±1σ and arithmetic-mean spectra of a batch of records.
#include "measures/suite.h"

#include <fmt/format.h>

#include <cmath>

#include "measures/error.h"

namespace measures {

namespace {

void requireOneValuePerPeriod(const std::vector<double>& periods,
                              const std::vector<RecordSpectrum>& records) {
  for (const RecordSpectrum& record : records)
    if (record.sa.size() != periods.size())
      throw Error(fmt::format("record {}: {} values of Sa for {} periods; every record of a "
                              "suite needs its spectrum at the same periods",
                              record.name, record.sa.size(), periods.size()));
}

double lnSa(const std::vector<double>& periods, const RecordSpectrum& record, std::size_t i) {
  const double sa = record.sa[i];
  if (!(std::isfinite(sa) && sa > 0.0))
    throw Error(fmt::format("record {}: Sa = {:g} g at period T = {:g} s is not positive, so "
                            "its logarithm for the log-mean spectrum does not exist; leave that "
                            "period or that record out",
                            record.name, sa, periods[i]));
  return std::log(sa);
}

}  // namespace

// Two passes per period: the mean of ln Sa, then the squared deviations from it, summed and
// divided by N − 1.
SuiteStatistics suiteStatistics(const std::vector<double>& periods,
                                const std::vector<RecordSpectrum>& records) {
  if (records.size() < 2)
    throw Error(fmt::format("the ±1σ spectra of a suite need at least two records; {} given",
                            records.size()));
  requireOneValuePerPeriod(periods, records);
  const double count = static_cast<double>(records.size());
  SuiteStatistics stats;
  for (std::size_t i = 0; i < periods.size(); ++i) {
    double sum = 0.0;
    for (const RecordSpectrum& record : records) sum += lnSa(periods, record, i);
    const double mean = sum / count;
    double squares = 0.0;
    for (const RecordSpectrum& record : records) {
      const double deviation = std::log(record.sa[i]) - mean;
      squares += deviation * deviation;
    }
    const double sigma = std::sqrt(squares / (count - 1.0));
    stats.logMean.push_back(std::exp(mean));
    stats.lnSigma.push_back(sigma);
    stats.minusSigma.push_back(std::exp(mean - sigma));
    stats.plusSigma.push_back(std::exp(mean + sigma));
  }
  return stats;
}

std::vector<double> arithmeticMean(const std::vector<double>& periods,
                                   const std::vector<RecordSpectrum>& records) {
  if (records.empty()) throw Error("the mean spectrum of a suite needs at least one record");
  requireOneValuePerPeriod(periods, records);
  std::vector<double> mean(periods.size(), 0.0);
  for (std::size_t i = 0; i < periods.size(); ++i) {
    for (const RecordSpectrum& record : records) mean[i] += record.sa[i];
    mean[i] /= static_cast<double>(records.size());
  }
  return mean;
}

}  // namespace measures
