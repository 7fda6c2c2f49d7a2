// Reader for plain numeric text: one column of accelerations, or two columns time and acceleration.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "records/record.h"

namespace records {

// One column needs dtGiven. With two columns dt comes from the time column, which must advance
// by a constant step; dtGiven, if any, must then agree with it. Blank lines and lines starting
// with '#' or '%' are skipped.
Record readColumns(const std::string& path, const std::vector<std::string>& lines,
                   std::optional<double> dtGiven);

// A finite sample value, or an Error naming file, line and token.
double sampleAt(const std::string& path, std::size_t line, const std::string& token);

// The step of a time column: the mean step rounded to 10 significant digits (so that a column
// written as 0, 0.01, 0.02, ... gives exactly 0.01), after checking every step against it.
// lineOf[i] is the file line of times[i], for the message.
double stepOfTimeColumn(const std::string& path, const std::vector<double>& times,
                        const std::vector<std::size_t>& lineOf);

// The dt to use when a file states its own step and the user may have given one too.
double agreeingStep(const std::string& path, double stated, std::optional<double> dtGiven);

}  // namespace records
