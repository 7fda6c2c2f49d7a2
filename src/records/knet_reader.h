// Reader for NIED K-NET and KiK-net ASCII acceleration files.
#pragma once

#include <string>
#include <vector>

#include "records/record.h"

namespace records {

// True for a first line "Origin Time" with a "Scale Factor" line in the header.
bool looksLikeKnet(const std::vector<std::string>& lines);

// Header lines "Key  value" up to "Memo.", then integer counts, 8 per line. The accelerations are
// count × scale factor in gal, less their mean.
Record readKnet(const std::string& path, const std::vector<std::string>& lines);

}  // namespace records
