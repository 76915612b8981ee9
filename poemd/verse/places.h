// Where a hidden character stands in a line of five or seven characters.
#pragma once

#include <cstdint>

namespace miravel::poemd {

enum class Place : uint8_t { kHead = 0, kMiddle = 1, kTail = 2 };

inline constexpr int kLengths[] = {5, 7};
inline constexpr int kMaxLineLength = 7;

// The 0-based position of `place` in a line of `length` (5 or 7): the first,
// the middle (the third of five, the fourth of seven) or the last.
constexpr int PositionOf(Place place, int length) {
  switch (place) {
    case Place::kHead:
      return 0;
    case Place::kMiddle:
      return length / 2;
    case Place::kTail:
      return length - 1;
  }
  return 0;
}

// 0 for five-character lines, 1 for seven: the slot of a per-length table.
constexpr int LengthSlot(int length) { return length == 7 ? 1 : 0; }

}  // namespace miravel::poemd
