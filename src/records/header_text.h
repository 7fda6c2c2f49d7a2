// Pieces of the text header lines of agency record files: counts, keyed values, clean text.
#pragma once

#include <optional>
#include <string>

namespace records {

// The first blank-separated token of the line as a whole number, or nullopt.
std::optional<long long> leadingInteger(const std::string& line);

// The whole number written just before the first occurrence of word (case ignored), as the 13 in
// "with 13 text lines"; nullopt when the word is absent or no number precedes it.
std::optional<long long> integerBefore(const std::string& line, const std::string& word);

// The text after the first occurrence of key (case ignored), or nullopt when the key is absent.
std::optional<std::string> textAfter(const std::string& line, const std::string& key);

// The text with runs of blanks made single and the ends stripped.
std::string collapsedBlanks(const std::string& text);

}  // namespace records
