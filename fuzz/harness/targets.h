// The fuzz targets by name, each with the check its inputs go through: the libFuzzer executables
// and the regression tests share this table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace fuzz {

using Check = std::function<void(const std::uint8_t* data, std::size_t size)>;

struct Target {
  std::string name;  // "at2", "gateway_quorvel", ...: also the corpus and regression folder
  Check check;
};

// Every target of this build (the command-line ones only when the program is built).
const std::vector<Target>& fuzzTargets();

// The target of that name; throws std::invalid_argument for an unknown one.
const Target& fuzzTarget(const std::string& name);

// The target of a module's gateway: "Tillock/weight" is "gateway_tillock_weight".
std::string gatewayTargetName(const std::string& module);

// Runs the target's check on one input; a Violation is printed to stderr and aborts, which is
// how libFuzzer learns of it.
void runOrAbort(const Target& target, const std::uint8_t* data, std::size_t size);

}  // namespace fuzz
