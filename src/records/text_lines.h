// Reading a text file into lines, and splitting lines into tokens.
#pragma once

#include <string>
#include <vector>

namespace records {

// Every line of the file, without line ends; an Error naming the file when it cannot be read.
std::vector<std::string> readLines(const std::string& path);

// Tokens separated by blanks, tabs, commas or semicolons (empty fields between two commas are
// kept as "" so that a missing value is noticed).
std::vector<std::string> splitFields(const std::string& line);

// True for a line with nothing but blanks, or a comment starting with '#' or '%'.
bool isBlankOrComment(const std::string& line);

}  // namespace records
