// Characters by how often they occur, as the index builder, the coherence
// judge and the measures rank them: a count per UTF-16 unit in, the units
// that occur out, most frequent first, ties in code order.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

namespace miravel::poemd {

// REQUIRES: counts.size() <= 65536.
inline std::vector<char16_t> ByFrequency(std::span<const uint64_t> counts) {
  std::vector<char16_t> characters;
  for (size_t c = 0; c < counts.size(); ++c) {
    if (counts[c] > 0) characters.push_back(static_cast<char16_t>(c));
  }
  std::stable_sort(characters.begin(), characters.end(),
                   [&](char16_t a, char16_t b) { return counts[a] > counts[b]; });
  return characters;
}

}  // namespace miravel::poemd
