// Reader for ESM ASCII acceleration files (Engineering Strong-Motion database, INGV / ORFEUS).
#pragma once

#include <string>
#include <vector>

#include "records/record.h"

namespace records {

// True when the file opens with "KEY: value" lines that include NDATA and SAMPLING_INTERVAL_S.
bool looksLikeEsm(const std::vector<std::string>& lines);

// "KEY: value" header lines, then NDATA samples in the header's UNITS, one per line.
Record readEsm(const std::string& path, const std::vector<std::string>& lines);

}  // namespace records
