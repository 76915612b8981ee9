// What a poem is asked for: the characters to hide, the form, where the
// characters stand and the rhyme scheme. The routes read it from their
// requests (serve/client_order.h, serve/browser_form.h).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "poemd/compose/occasion.h"
#include "poemd/verse/places.h"
#include "poemd/verse/rhyme_books.h"

namespace miravel::poemd {

inline constexpr size_t kMaxThemeCharacters = 20;

// Diagonal hiding: the first character at the first position, the second
// at the second, and so on (rising, 递增); or from the last position leftwards
// (falling, 递减); past the line's length the position wraps around.
enum class Diagonal : uint8_t { kNone, kRising, kFalling };

struct PoemOrder {
  std::u16string characters;  // to hide, one a line, in order
  int length = 5;             // 5 or 7
  Place place = Place::kHead;
  Diagonal diagonal = Diagonal::kNone;  // when set, it places the characters, not `place`
  bool first_line_rhymes = false;       // limit 200
  std::u16string theme;  // the theme's Chinese characters; blanks and the rest dropped
  RhymeBook book = RhymeBook::kBoth;
  Occasion occasion = Occasion::kAutomatic;

  // The 0-based position of the hidden character in line `line`.
  int PositionAt(size_t line) const;
  // "cangtou", "cangzhong", "cangwei", "dizeng" or "dijian".
  const char* ModeName() const;
  // The same in Chinese, UTF-8: "藏头", "藏中", "藏尾", "递增" or "递减".
  const char* ModeTitle() const;
  // What the poem is called: "藏头诗", "藏中诗", "藏尾诗", "递增藏字诗" or
  // "递减藏字诗", UTF-8.
  const char* PoemKind() const;
  // The hidden characters, in order.
  const std::u16string& Hidden() const { return characters; }
};

}  // namespace miravel::poemd
