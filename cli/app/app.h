// The program: parse the command line, run one analysis or a batch, report.
#pragma once

namespace cli {

// Returns the exit status: 0 success, 1 a failed analysis or batch item, 2 a usage error.
int run(int argc, const char* const* argv);

}  // namespace cli
