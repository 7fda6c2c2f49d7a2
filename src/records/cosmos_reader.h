// Reader for COSMOS V1 and V2 acceleration files (COSMOS Strong Motion Data Format, ver. 1.20).
#pragma once

#include <string>
#include <vector>

#include "records/record.h"

namespace records {

// True when the first line names the format version, as in "(Format v01.20 with 13 text lines)".
bool looksLikeCosmos(const std::vector<std::string>& lines);

// The acceleration of one channel. A file holding several channels needs `channel` (1, 2, ...);
// with channel 0 such a file is an Error that says how many it holds.
Record readCosmos(const std::string& path, const std::vector<std::string>& lines, int channel);

}  // namespace records
