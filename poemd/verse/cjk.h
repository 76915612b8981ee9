// The characters a line of verse may hold: the CJK unified ideographs of the
// basic plane (Extension A and the main block).
#pragma once

namespace miravel::poemd {

inline constexpr char16_t kCjkFirst = 0x3400;
inline constexpr char16_t kCjkLast = 0x9FFF;
constexpr bool IsCjk(char16_t c) { return c >= kCjkFirst && c <= kCjkLast; }

}  // namespace miravel::poemd
