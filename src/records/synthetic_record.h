// A synthetic accelerogram for demonstrations and benchmarks (not a recorded motion).
#pragma once

#include <cstdint>
#include <vector>

namespace records {

// n samples at step dt of white noise passed through a Kanai-Tajimi ground filter
// (ωg = 5π rad/s, ζg = 0.6), shaped by a Jennings-type envelope (rise 2 s, strong motion to 30 %
// of the duration, exponential decay) and scaled so that its largest |value| is peak. The same
// seed always gives the same record, on every machine.
std::vector<double> syntheticRecord(std::int32_t n, double dt, std::uint64_t seed, double peak);

}  // namespace records
