// Reader for PEER NGA .AT2 acceleration files (values in g).
#pragma once

#include <string>
#include <vector>

#include "records/record.h"

namespace records {

// True for an .AT2 file name, a first line starting with PEER, or a fourth line giving NPTS and
// DT; such a file with a bad header is then reported as a bad AT2 file.
bool looksLikeAt2(const std::string& path, const std::vector<std::string>& lines);

// Four header lines, the fourth giving NPTS and DT ("NPTS=  3908, DT=   .0100 SEC" or
// "3908   0.0100   NPTS, DT"), then exactly NPTS values, any number per line.
Record readAt2(const std::string& path, const std::vector<std::string>& lines);

}  // namespace records
