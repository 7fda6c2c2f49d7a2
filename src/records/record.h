// A ground-acceleration record as read from a file, before any unit conversion.
#pragma once

#include <string>
#include <vector>

namespace records {

// What the file says about the recording, as text the file itself gives ("" when it gives none).
struct RecordInfo {
  std::string format;     // the format the file was read as, e.g. "COSMOS V2", "K-NET ASCII"
  std::string event;      // earthquake name, date or origin time
  std::string station;    // station code and name
  std::string component;  // orientation or channel, e.g. "180", "N-S", "HNE", "90 deg"
  std::string startTime;  // time of the first sample, as stated (time zone as the file has it)
  std::string note;       // what the reader did beyond reading, e.g. a removed mean
};

struct Record {
  std::string path;             // where it came from, for messages and output names
  std::vector<double> samples;  // accelerations at a constant step
  double dt = 0.0;              // seconds
  std::string statedUnit;       // the unit the file itself states, or "" if it states none
  RecordInfo info{};            // station, component, event, start time, format
};

}  // namespace records
