// "Did you mean ...?" for mistyped modules, options, fields and keywords.
#pragma once

#include <string>
#include <vector>

namespace cli {

// Edit distance between two words, letter case ignored: insertions, deletions, substitutions
// and swaps of neighbouring letters each count one.
std::size_t editDistance(const std::string& a, const std::string& b);

// The candidate nearest to word when it is near enough to be a slip (one edit for words of up
// to four letters, two up to eight, three beyond); the first of equally near ones; "" when none.
std::string nearest(const std::string& word, const std::vector<std::string>& candidates);

// "; did you mean NAME?" with the nearest candidate, or "".
std::string didYouMean(const std::string& word, const std::vector<std::string>& candidates);

}  // namespace cli
