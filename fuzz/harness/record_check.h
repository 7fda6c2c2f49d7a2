// The record-reader fuzz check: a fuzzer input becomes a record file and its read options, and
// the reader's answer is checked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace fuzz {

// The reader a target drives: one format forced, or the choice by content.
enum class ReaderKind { At2, Columns, Csv, Any };

// The input is "<options>\n<file content>". The options line holds '|'-separated settings:
// dt=<s>, column=<name>, units=<unit>, scale=<factor>, name=<file name>; anything else is
// ignored. Example: "dt=0.01|name=rec.txt\n0.1\n0.2\n".
struct RecordInput {
  std::optional<double> dt;
  std::string column;
  std::string units;
  double scale = 1.0;
  std::string fileName = "record";
  std::string content;
};

RecordInput decodeRecordInput(const std::uint8_t* data, std::size_t size);

// Reads the file and checks the outcome: either a record with at least one sample, every sample
// finite, dt positive and finite, a stated unit that is a known unit's name, and samples that stay
// finite in m/s2; or a records::Error whose message starts with the file's path. Throws Violation
// otherwise (other exceptions pass through as faults of their own).
void checkRecordInput(ReaderKind kind, const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
