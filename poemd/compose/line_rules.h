// The rules a composed line is held to, as penalties ordered the way the
// rules give way when no line keeps them all: breaking a later rule always
// costs less than breaking an earlier one (the place and the length of the
// hidden character never give way):
//   1. a made line only where no corpus line holds the character;
//   2. rhyme: the even lines (and with first_line_rhymes the first) end on
//      平 in the poem's group; failing that in the group on another tone;
//      then on 平 of any group; then anything;
//   3. the other lines end on 仄;
//   4. no character repeats across lines (counted by the search);
//   5. 粘对 on the second characters (tonal_pattern.h);
//   6. 二四不同 and 二六对 inside the line.
// Any penalty outweighs every preference of the search (well under 1 << 6).
#pragma once

#include <cstddef>

#include "poemd/verse/tonal_pattern.h"
#include "poemd/verse/tones.h"

namespace miravel::poemd {

inline constexpr int kMadePenalty = 1 << 20;
inline constexpr int kRhymeSteps[4] = {0, 1 << 15, 2 << 15, 3 << 15};
inline constexpr int kEndingPenalty = 1 << 13;
inline constexpr int kRepeatPenalty = 1 << 10;  // per repeated character
inline constexpr int kLinkPenalty = 1 << 8;
inline constexpr int kInLinePenalty = 1 << 7;

class LineRules {
 public:
  LineRules(int length, bool first_line_rhymes, RhymeGroup rhyme, Opening opening)
      : length_(length), first_line_rhymes_(first_line_rhymes), rhyme_(rhyme), opening_(opening) {}

  bool IsRhyming(size_t line) const { return IsRhymingLine(line, first_line_rhymes_); }
  // Line `line` with these tones, its last character in `group`.
  int Penalty(size_t line, LineTones tones, RhymeGroup group) const;

 private:
  int Ending(size_t line, LineTones tones, RhymeGroup group) const;

  int length_;
  bool first_line_rhymes_;
  RhymeGroup rhyme_;
  Opening opening_;
};

}  // namespace miravel::poemd
