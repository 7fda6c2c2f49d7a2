// Amplitude scaling of records, one by one and as a suite, to a target spectrum over a period
// range.
#pragma once

#include <string>
#include <vector>

#include "measures/design_spectra.h"
#include "measures/record_spectrum.h"

namespace measures {

// A closed period range [shortest, longest] in s; a single period when both are equal.
struct PeriodRange {
  double shortest;
  double longest;
};

// EN 1998-1:2004 §3.2.3.1.2(4): 0.2·T1 to 2·T1, T1 the fundamental period in the direction the
// accelerogram is applied. Error unless T1 > 0.
PeriodRange eurocode8ScalingRange(double firstModePeriod);

// ASCE/SEI 7-16 §16.2.3 (period range for scaling): from 20 % of the smaller to twice the larger
// first-mode period of the two principal horizontal directions. The code allows a wider range
// and asks for a lower bound low enough to include the modes that reach 90 % mass participation;
// that bound, when lower, is the caller's to give. Error unless both periods are positive.
PeriodRange asce7ScalingRange(double firstModePeriodX, double firstModePeriodY);

// A code's rule for a suite: the mean spectrum must not fall below fraction × target at any
// period of the range, with at least minimumRecords records (the count is for the caller to
// check and report; scaleSuite does not enforce it).
struct SuiteRule {
  std::string name;
  double fraction;
  std::size_t minimumRecords;
};

// ASCE/SEI 7-16 §16.2.2 and §16.2.3: at least 11 records; the mean of their (maximum-direction)
// spectra not below 90 % of the target.
SuiteRule asce7SuiteRule();

// EN 1998-1:2004 §3.2.3.1.2(4): at least 3 accelerograms; no value of the mean 5 %-damped
// elastic spectrum below 90 % of the code's elastic spectrum.
SuiteRule eurocode8SuiteRule();

// One record's amplitude factor f and the misfit of f·Sa to the target.
struct RecordScaling {
  std::string name;
  double factor;            // f
  double misfit;            // RMS over the periods used of ln(target) − ln(f·Sa)
  std::size_t periodsUsed;  // periods of the record inside the range
};

// Least squares on ln Sa over the record's periods inside the range (its own periods, no
// interpolation): ln f = mean of ln(target/Sa), the closed-form minimiser of Σ (ln target −
// ln f − ln Sa)²; the misfit divides the sum of squared residuals by the count, not count − 1.
// Error when no period lies in the range, when the record's Sa does not have one value per
// period or is not positive there, or when the target does not define a period of the range.
RecordScaling scaleRecord(const std::vector<double>& periods, const RecordSpectrum& record,
                          const TargetSpectrum& target, PeriodRange range);

struct SuiteScaling {
  std::vector<RecordScaling> records;  // each record's own least-squares factor and misfit
  double commonFactor;                 // ≥ 1, applied to every record after its own factor
  std::vector<double> factors;         // final factor of each record: its own × commonFactor
  double bindingPeriod;                // [s] period of the lowest ratio of mean to target
  double ratioBefore;                  // arithmetic mean / target there, before commonFactor
  double ratioAfter;                   // the same after it (the fraction when the rule bound)
};

// Each record scaled by its own factor (scaleRecord), then one common factor for the suite, the
// smallest that keeps the arithmetic mean of the scaled spectra at or above fraction × target at
// every period of the range: max(1, max over T of fraction·target(T)/mean(T)). The rule is a
// floor: a suite whose mean already reaches it keeps its least-squares factors. All records
// share the periods. Error for no records, a fraction that is not positive, or any error of
// scaleRecord.
SuiteScaling scaleSuite(const std::vector<double>& periods,
                        const std::vector<RecordSpectrum>& records, const TargetSpectrum& target,
                        PeriodRange range, double fraction);

}  // namespace measures
