// A ground-acceleration record as read from a file, before any unit conversion.
#pragma once

#include <string>
#include <vector>

namespace records {

struct Record {
  std::string path;             // where it came from, for messages and output names
  std::vector<double> samples;  // accelerations at a constant step
  double dt = 0.0;              // seconds
  std::string statedUnit;       // the unit the file itself states, or "" if it states none
};

}  // namespace records
