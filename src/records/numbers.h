// Strict text-to-number conversion for record samples and option values.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace records {

// The whole token as a double; also reads a leading '+' and Fortran 'D' exponents. NaN and
// infinities are returned as such so that callers can name them; nullopt when not a number.
std::optional<double> parseNumber(std::string_view token);

// A finite number, or an Error "<what>: '<token>' is not a (finite) number".
double parseFinite(std::string_view token, const std::string& what);

// A comma-separated list of finite numbers; an empty list or empty item is an Error.
std::vector<double> parseList(const std::string& text, const std::string& what);

// Shortest text that reads back as the same double ("nan", "inf" and "-inf" for the others).
std::string roundTrip(double value);

}  // namespace records
