// The one error type of the program: a message for the user, already naming file and line. The
// record readers raise the same type, so every failure reaches the user the same way.
#pragma once

#include "records/error.h"

namespace cli {

using records::Error;
using records::fileError;

}  // namespace cli
