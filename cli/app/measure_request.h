// What the command line asks of the measures beside the modules: response histories,
// resampling, target spectra, suites and scaling, shards, the largest-strength rule, RotD.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace cli {

struct MeasureOptions {
  std::vector<std::string> histories;   // --history T=…[,zeta=…|frn=…|Qd=…], repeatable
  std::optional<std::string> resample;  // --resample FACTOR|auto ("" when given bare)
  std::string target;                   // --target asce7:…, ec8:… or a file of T, Sa
  bool suiteStats = false;              // --suite-stats
  bool scaleToTarget = false;           // --scale-to-target
  std::string range;                    // --range Ta:Tb [s]
  std::string rule;                     // --rule asce7|ec8
  std::string shard;                    // --shard I/N
  std::string search;                   // inelastic --mu: largest (default, "") or module
  bool rotd = false;                    // elastic2d --rotd, or the rotd command
  std::string percentiles = "0,50,100";
  double angleStep = 1.0;  // [°]
};

}  // namespace cli
