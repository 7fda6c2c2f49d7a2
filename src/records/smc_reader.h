// Reader for USGS SMC (strong-motion CD) acceleration files.
#pragma once

#include <string>
#include <vector>

#include "records/record.h"

namespace records {

// True when the first line is one of the SMC data types, e.g. "2 CORRECTED ACCELEROGRAM".
bool looksLikeSmc(const std::vector<std::string>& lines);

// 11 text lines, 48 integers (8I10), 50 reals (5E15.7), the comments, then the samples.
Record readSmc(const std::string& path, const std::vector<std::string>& lines);

}  // namespace records
