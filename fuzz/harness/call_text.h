// A readable account of a decoded gateway call, for reporting what a fuzz input does.
#pragma once

#include <string>

#include "harness/argument_decoder.h"

namespace fuzz {

// One line per input: its slot, class, shape and values (long arrays summarised), then the
// execution settings.
std::string callText(const ModuleForms& module, const DecodedCall& call);

}  // namespace fuzz
