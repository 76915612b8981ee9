// What a client asks the poem service for, read from its form body:
// xing (the hidden characters, GBK, escaped byte by byte), gender ("5" or
// "7"), num ("cangtou", "cangzhong" or "cangwei"), limit ("100" or "200"),
// and optionally type_str (theme words, GBK; the desktop client sends it
// empty). num also takes "dizeng" and "dijian": diagonal hiding. Fields are
// found by name, in any order; "%XX" and "+" are decoded.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "poemd/corpus_index.h"

namespace miravel::poemd {

inline constexpr size_t kMaxHiddenCharacters = 100;
inline constexpr size_t kMaxThemeCharacters = 20;

struct HiddenCharacter {
  std::string gbk;       // its bytes as sent: one (ASCII) or two
  char16_t unicode = 0;  // the same character
};

// Diagonal hiding: the first character at the first position, the second
// at the second, and so on (rising, 递增); or from the last position leftwards
// (falling, 递减); past the line's length the position wraps around.
enum class Diagonal : uint8_t { kNone, kRising, kFalling };

struct PoemOrder {
  std::vector<HiddenCharacter> characters;
  int length = 5;  // 5 or 7
  Place place = Place::kHead;
  Diagonal diagonal = Diagonal::kNone;  // when set, it places the characters, not `place`
  bool first_line_rhymes = false;       // limit 200
  std::u16string theme;  // the theme's Chinese characters; blanks and the rest dropped

  // The 0-based position of the hidden character in line `line`.
  int PositionAt(size_t line) const;
  // "cangtou", "cangzhong", "cangwei", "dizeng" or "dijian".
  const char* ModeName() const;
  // The same in Chinese, UTF-8: "藏头", "藏中", "藏尾", "递增" or "递减".
  const char* ModeTitle() const;
  // The hidden characters, in order.
  std::u16string Hidden() const;
};

// The decoded fields, or nullopt for a malformed body (a "%" not followed
// by two hex digits). A repeated name keeps its first value.
std::optional<std::map<std::string, std::string>> DecodeFormBody(std::string_view body);

// The order, or the reason it is refused, for a 400 answer.
struct OrderOrError {
  std::optional<PoemOrder> order;
  std::string error;
};
OrderOrError ParsePoemOrder(std::string_view body);

// Splits GBK text into characters; nullopt when it is not valid GBK (a lead
// byte without its trail byte, a byte no GBK text holds, or a character
// that does not decode).
std::optional<std::vector<HiddenCharacter>> SplitGbk(std::string_view gbk);

}  // namespace miravel::poemd
