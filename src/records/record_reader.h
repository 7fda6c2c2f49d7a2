// Choosing the reader for a record file, and bringing its samples into the output units.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "records/record.h"
#include "records/units.h"

namespace records {

struct ReadOptions {
  std::string format = "auto";  // one of recordFormats()
  std::string column;           // acceleration column of a csv file
  std::optional<double> dt;     // time step for files that do not state one
  int channel = 0;              // channel of a COSMOS file holding several (1, 2, ...)
};

// The --format values: auto, at2, cosmos, smc, knet, esm, columns, csv.
const std::vector<std::string>& recordFormats();

// Reads the file with the reader its content (or --format) calls for. A folder, an empty file, a
// binary file or text without any line of numbers is an Error that says so and what to give.
Record readRecord(const std::string& path, const ReadOptions& options);

struct UnitOptions {
  std::string units;     // --units: unit of files that state none ("" means g)
  std::string outUnits;  // unit of the accelerations handed to the module
  double scale = 1.0;
};

// The samples in the output unit, times the scale. A file that states its unit keeps it; an
// --units that contradicts it is an Error, and so is a sample that is not finite or would
// overflow in the output unit.
std::vector<double> samplesInOutputUnits(const Record& record, const UnitOptions& options);

}  // namespace records
