// The one error type of the program: a message for the user, already naming file and line.
#pragma once

#include <stdexcept>
#include <string>

namespace records {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// "path:line: what" when a line is known, "path: what" otherwise.
inline Error fileError(const std::string& path, std::size_t line, const std::string& what) {
  return Error(line > 0 ? path + ":" + std::to_string(line) + ": " + what : path + ": " + what);
}

}  // namespace records
