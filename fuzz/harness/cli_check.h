// The command-line fuzz checks: option parsing on an argument list split from the input, and the
// period, list and number parsers on the input as text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cli/app/parameters.h"

namespace fuzz {

// The arguments after the program name: the input split at newlines and NULs (at most 64).
std::vector<std::string> argumentsOf(const std::uint8_t* data, std::size_t size);

// Parses the arguments as `spectra <arguments>` does. A parse error is an answer; a parsed request
// must resolve into parameters the module can take (every period positive and finite, a known
// output unit, finite numbers, known fields) or fail with a message; when its periods and swept
// values are few, the module is called on a short record and its outcome checked as a gateway
// call. Throws Violation otherwise.
void checkCommandLineInput(const std::uint8_t* data, std::size_t size);

// Parameters a module can take: every period positive and finite (1 to 10^6 of them, or a
// generated range with such ends), finite numbers, a known output unit. Throws Violation.
void checkParameters(const cli::Parameters& p);

// The first character picks the parser ('0' periods list or range, '1' log-spaced range, '2'
// number list, '3' single number, '4' unit in a column header; any byte, modulo 5 after
// subtracting '0'), the rest is its text. Every answer must be a value that
// satisfies the parser's promise or an error naming the option.
void checkNumberTextInput(const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
