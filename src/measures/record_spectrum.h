// One record's response spectrum as the suite statistics and the scaling take it.
#pragma once

#include <string>
#include <vector>

namespace measures {

// Pseudo-spectral accelerations Sa [g] of one record at the periods of its batch, in their
// order; the name (a file name) identifies the record in messages and reports.
struct RecordSpectrum {
  std::string name;
  std::vector<double> sa;
};

}  // namespace measures
