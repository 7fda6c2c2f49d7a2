// Reading an announced number of values that follow a header, with errors naming file and line.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace records {

// The numbers on one line (line numbers count from 1); throws an Error for a token that is no
// number.
using RowReader =
    std::function<std::vector<double>(std::size_t lineNumber, const std::string& line)>;

struct ValueRows {
  std::vector<double> values;
  std::size_t nextLine = 0;  // index of the first line after the values
};

// Exactly `count` finite values from lines[first], lines[first + 1], ... before lines[end]; blank
// lines are skipped. A line holding more than the count, or too few values before `end`, is an
// Error that says so and where the count was announced (`announcedAt`, e.g. "in the header" or
// "on line 27"); `noun` names the values ("samples", "Integer-header values").
ValueRows readValueRows(const std::string& path, const std::vector<std::string>& lines,
                        std::size_t first, std::size_t end, std::size_t count,
                        const std::string& announcedAt, const std::string& noun,
                        const RowReader& readRow);

// After the samples: an Error naming the first line that is not blank.
void expectNothingAfter(const std::string& path, const std::vector<std::string>& lines,
                        std::size_t from, std::size_t count);

// The numbers on a line split at blanks, tabs or commas.
std::vector<double> numbersAtBlanks(const std::string& path, std::size_t lineNumber,
                                    const std::string& line);

}  // namespace records
