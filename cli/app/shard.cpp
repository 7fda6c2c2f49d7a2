// Parsing of --shard.
#include "cli/app/shard.h"

#include <algorithm>

#include "cli/app/error.h"
#include "records/numbers.h"

namespace cli {

Shard parseShard(const std::string& text) {
  const std::size_t slash = text.find('/');
  const std::string usage = "--shard: expected I/N with 1 ≤ I ≤ N, e.g. 3/10, got '" + text + "'";
  if (slash == std::string::npos) throw Error(usage);
  const auto whole = [&](const std::string& part) {
    const std::optional<double> value = records::parseNumber(part);
    if (!value || !(*value >= 1 && *value <= 1e6) ||
        *value != static_cast<double>(static_cast<int>(*value)))
      throw Error(usage);
    return static_cast<int>(*value);
  };
  const Shard shard{whole(text.substr(0, slash)), whole(text.substr(slash + 1))};
  if (shard.index > shard.count) throw Error(usage);
  return shard;
}

}  // namespace cli
