// Reading a text file into lines, and splitting lines into tokens.
#pragma once

#include <string>
#include <vector>

namespace records {

// The whole file as bytes; an Error naming the file when it cannot be opened or read.
std::string readFileBytes(const std::string& path);

// The lines of a text, without line ends (LF or CRLF) and without a leading UTF-8 byte-order mark.
std::vector<std::string> splitLines(const std::string& text);

// Every line of the file, without line ends; an Error naming the file when it cannot be read.
std::vector<std::string> readLines(const std::string& path);

// Tokens separated by blanks, tabs, commas or semicolons (empty fields between two commas are
// kept as "" so that a missing value is noticed).
std::vector<std::string> splitFields(const std::string& line);

// True for a line with nothing but blanks, or a comment starting with '#' or '%'.
bool isBlankOrComment(const std::string& line);

// The text without leading and trailing blanks and tabs.
std::string stripped(const std::string& text);

// The text in upper case (ASCII letters only).
std::string toUpper(std::string text);

// True when text starts with prefix, ignoring the case of ASCII letters.
bool startsWithNoCase(const std::string& text, const std::string& prefix);

}  // namespace records
