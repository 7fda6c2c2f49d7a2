// Physical sense of the inputs, checked by the program before any analysis (the modules take
// any number): an Error for a value without physical meaning, a warning for a legal but unusual
// one.
#pragma once

#include <string>
#include <vector>

#include "cli/app/parameters.h"
#include "records/record.h"
#include "records/record_reader.h"

namespace cli {

// Throws an Error naming the option and the value, with what to give instead, for: a negative
// damping ratio or one of 1 or more where the module cannot take it, a negative friction
// coefficient or strength, mass, weight, gravity or pre-sliding displacement not positive,
// R not positive, a target ductility below 1, a hardening ratio of 1 or more, α outside (0, 1],
// a --scale of 0. Returns the warnings (one line each, without a prefix) for unusual values.
std::vector<std::string> checkParameters(const Parameters& parameters, double scale);

// A warning when the record, as handed to the module, peaks above 4 g: it names the unit the
// samples were read in and --units. "" otherwise.
std::string recordPeakWarning(const records::Record& record, const std::vector<double>& samples,
                              const std::string& analysisUnit,
                              const records::UnitOptions& options);

}  // namespace cli
