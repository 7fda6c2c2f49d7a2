// Resampling of the records before any analysis (--resample), and the note that suggests it.
#pragma once

#include <string>
#include <vector>

#include "cli/app/parameters.h"
#include "records/record.h"

namespace cli {

// The shortest period the module analyses [s].
double shortestPeriod(const Parameters& parameters);

// The records as the analysis takes them. Without --resample they are returned as read. With
// it, two components of different steps are first brought to the finer one (one must be a whole
// multiple of the other), then every component is interpolated by the factor given, or by the
// smallest factor that gives ten steps per shortest period (auto); a line of `console` says what
// was done.
std::vector<records::Record> prepareRecords(const Request& request, const Parameters& parameters,
                                            std::vector<records::Record> records,
                                            std::string& console);

// "note: …" (one line with its newline) when the shortest period spans fewer than ten steps of
// the records and no resampling was asked for; "" otherwise.
std::string resamplingNote(const Request& request, const Parameters& parameters,
                           const std::vector<records::Record>& records);

// An Error unless the --resample value is empty, "auto" or a whole number from 1 to 1000.
void checkResampleOption(const Request& request);

}  // namespace cli
