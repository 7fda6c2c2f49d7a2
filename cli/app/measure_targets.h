// The files one run of the measures writes: a data file and a plot, each optional.
#pragma once

#include <string>

namespace cli {

struct OutputPaths {
  std::string data;  // FILE.csv or FILE.json, "" for none
  std::string plot;  // FILE.png or FILE.svg, "" for none
};

// "dir/rec.csv" with a tag "history-T1-zeta0.05" gives "dir/rec-history-T1-zeta0.05.csv";
// "" stays "".
std::string besidePath(const std::string& path, const std::string& tag);

}  // namespace cli
