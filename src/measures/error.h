// The error type of the spectral measures: a message for the user, naming the input at fault.
#pragma once

#include <stdexcept>
#include <string>

namespace measures {

class Error : public std::runtime_error {
 public:
  explicit Error(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace measures
