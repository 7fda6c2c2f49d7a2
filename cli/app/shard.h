// --shard I/N: a deterministic share of a batch, so that N separate runs (a job array) cover it
// exactly once.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace cli {

struct Shard {
  int index = 1;  // I, 1 … N
  int count = 1;  // N ≥ 1
};

// "I/N" with 1 ≤ I ≤ N; an Error naming --shard otherwise.
Shard parseShard(const std::string& text);

// The items of shard I of N: the items sorted by their paths (a record's path, or the paths of a
// pair in order), then every item k (from 0) with k mod N = I − 1. Items are a record or a pair of
// records; Key gives the paths of one.
template <typename Item, typename Key>
std::vector<Item> shardOf(std::vector<Item> items, const Shard& shard, Key key) {
  std::stable_sort(items.begin(), items.end(),
                   [&](const Item& a, const Item& b) { return key(a) < key(b); });
  std::vector<Item> chosen;
  for (std::size_t k = 0; k < items.size(); ++k)
    if (static_cast<int>(k % static_cast<std::size_t>(shard.count)) == shard.index - 1)
      chosen.push_back(std::move(items[k]));
  return chosen;
}

}  // namespace cli
