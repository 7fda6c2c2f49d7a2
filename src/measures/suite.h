// Statistics of a batch of response spectra computed at the same periods.
#pragma once

#include <vector>

#include "measures/record_spectrum.h"

namespace measures {

// Per period: the log-mean (geometric mean) exp(mean of ln Sa), the standard deviation of ln Sa
// with divisor N − 1 (the sample estimate), and the ±1σ spectra exp(mean ± σ). Sa in g.
struct SuiteStatistics {
  std::vector<double> logMean;
  std::vector<double> lnSigma;
  std::vector<double> minusSigma;
  std::vector<double> plusSigma;
};

// periods [s] are those of every record's Sa; they serve the messages. Error when fewer than two
// records are given, when a record's Sa does not have one value per period, or when a value is
// not finite and positive (its logarithm is needed), naming the record and the period.
SuiteStatistics suiteStatistics(const std::vector<double>& periods,
                                const std::vector<RecordSpectrum>& records);

// Arithmetic mean of Sa per period over the records, the mean the codes' suite rules take. Error
// for no records or a record without one value per period.
std::vector<double> arithmeticMean(const std::vector<double>& periods,
                                   const std::vector<RecordSpectrum>& records);

}  // namespace measures
