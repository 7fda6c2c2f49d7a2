// Records against a target: the comparison plot, one record's scale factor, and a suite's
// statistics and scale factors.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/app/request.h"
#include "cli/app/target_option.h"
#include "cli/writers/plot.h"
#include "measures/record_spectrum.h"

namespace cli {

// A record's pseudo-spectral accelerations in g: one curve per damping ratio (and percentile),
// and the curve that suites and scaling take.
struct SaSpectrum {
  std::string name;  // the record file(s), without folders
  std::vector<double> periods;
  std::vector<std::string> labels;
  std::vector<std::vector<double>> curves;  // Sa [g]
  std::size_t chosen = 0;
  std::string measure;  // what the curves are, e.g. "pseudo-spectral acceleration Sa"

  measures::RecordSpectrum chosenSpectrum() const { return {name, curves.at(chosen)}; }
};

// The curve a target or a suite takes: the target's damping ratio (an Error naming --zeta when
// the run does not have it), else the first. Among curves of one damping ratio, `preferred`.
std::size_t chosenCurve(const std::vector<double>& dampingRatios, const std::optional<Target>& target,
                        std::size_t curvesPerDamping = 1, std::size_t preferred = 0);

// Sa [g] of the record, one curve per damping ratio and percentile, against T, with the target
// (dashed) when there is one; axes as --axes says.
plot::Figure targetFigure(const SaSpectrum& sa, const std::optional<Target>& target,
                          const std::string& title, const std::string& subtitle,
                          const std::string& axes);

// "scale factor to …: f = 1.23 (…)" for one record, one line.
std::string scalingLine(const SaSpectrum& sa, const Target& target,
                        const measures::PeriodRange& range);

// The batch's statistics (--suite-stats) and scale factors (--scale-to-target) of the records'
// chosen curves, written into the output folder (suite.*, scaling.*) and summarised in `summary`.
// Returns the paths written.
std::vector<std::string> writeSuiteReports(const Request& request,
                                           const std::vector<SaSpectrum>& spectra,
                                           std::string& summary);

}  // namespace cli
