// Runs of items grouped under ascending keys, as the index stores its
// postings: keys[k]'s items are items[starts[k]] .. items[starts[k + 1]].
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <span>

namespace miravel::poemd {

// Whether the runs cover `items` items whole, in order, under strictly
// ascending keys: one start more than keys, the first 0, the last `items`.
template <typename Key>
bool RunsAreWhole(std::span<const Key> keys, std::span<const uint32_t> starts, size_t items) {
  if (starts.size() != keys.size() + 1 || starts.front() != 0 || starts.back() != items) {
    return false;
  }
  return std::is_sorted(starts.begin(), starts.end()) &&
         std::adjacent_find(keys.begin(), keys.end(), std::greater_equal<Key>()) == keys.end();
}

}  // namespace miravel::poemd
