// Demo records from records::syntheticRecord.
#include "cli/app/demo_record.h"

#include <fmt/format.h>

#include <cmath>

#include "cli/app/error.h"
#include "records/synthetic_record.h"

namespace cli {

records::Record demoRecord(const DemoOptions& options, int component) {
  if (!(options.duration >= 2 * options.dt) || !(options.dt > 0) ||
      options.duration / options.dt > 1e8)
    throw Error("--duration must hold at least two steps of --demo-dt, and at most 1e8");
  if (!std::isfinite(options.peak)) throw Error("--peak must be a finite number");
  const auto n = static_cast<std::int32_t>(std::lround(options.duration / options.dt));
  const std::uint64_t seed = options.seed + static_cast<std::uint64_t>(component);
  records::Record record;
  record.path = fmt::format("synthetic record (seed {}, peak {} g)", seed, options.peak);
  record.samples = records::syntheticRecord(n, options.dt, seed, options.peak);
  record.dt = options.dt;
  record.statedUnit = "g";
  return record;
}

}  // namespace cli
