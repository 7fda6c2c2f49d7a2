// The record-reader fuzz check: a fuzzer input becomes a record file and its read options, and
// the reader's answer is checked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "records/record.h"

namespace fuzz {

// The reader a target drives: one format forced, or the choice by content.
enum class ReaderKind { At2, Cosmos, Smc, Knet, Esm, Columns, Csv, Any };

// The --format value of the kind: "at2", ..., "auto" for the choice by content.
std::string formatOf(ReaderKind kind);

// The input is "<options>\n<file content>". The options line holds '|'-separated settings:
// dt=<s>, column=<name>, units=<unit>, scale=<factor>, name=<file name>, channel=<n> (of a COSMOS
// file; a whole number from -3 to 9, anything else is 0); anything else is ignored. Example: "dt=0.01|name=rec.txt\n0.1\n0.2\n".
struct RecordInput {
  std::optional<double> dt;
  std::string column;
  std::string units;
  double scale = 1.0;
  int channel = 0;
  std::string fileName = "record";
  std::string content;
};

RecordInput decodeRecordInput(const std::uint8_t* data, std::size_t size);

// The input's file as records::readRecord reads it with that kind's --format (a records::Error
// when it refuses the file); the file lies in a private temporary folder of this process.
records::Record readRecordInput(ReaderKind kind, const RecordInput& input);

// Reads the file and checks the outcome: either a record with at least one sample, every sample
// finite, dt positive and finite, a stated unit that is a known unit's name, and samples that stay
// finite in m/s2; or a records::Error whose message starts with the file's path. Throws Violation
// otherwise (other exceptions pass through as faults of their own).
void checkRecordInput(ReaderKind kind, const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
