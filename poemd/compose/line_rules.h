// The rules a composed line is held to in the poem's rhyme book
// (verse/rhyme_books.h), as penalties ordered the way the rules give way
// when no line keeps them all: breaking a later rule always costs less than
// breaking an earlier one (the place and the length of the hidden character
// never give way).
//
// The primary reading is the classical one in 平水韵 and in both books, the
// modern one in 中华新韵; in both books the modern reading is secondary and
// asks for the rhyme a reader of today hears, nothing more: real poems keep
// none of the modern tones' other rules, and a poem that does gives itself
// away. Where no line holds in both, the classical rule wins. In order:
//   0. no line of ill omen for a happy occasion (occasion.h);
//   1. a made line only where no corpus line holds the character;
//   2. no rhyme character twice (重韵; counted by the search): another
//      rhyme is tried first;
//   3. rhyme, primary: the rhyming lines end 平 in the poem's rhyme (no line
//      out of it, neighbouring rhymes included); failing that on 平 of
//      another rhyme (or, in the modern reading, in the rhyme on 仄); then
//      anything;
//   4. the other lines end 仄, primary;
//   5. 粘对 on the second characters, primary;
//   6. no 孤平, no 三平尾, primary (the faults a reader hears first);
//   7. 二四六分明 inside the line, primary;
//   8. rhyme, secondary, in the same steps as the primary.
// Any penalty outweighs every preference of the search (well under 1 << 6).
#pragma once

#include <cstddef>

#include "poemd/verse/rhyme_books.h"
#include "poemd/verse/tonal_pattern.h"

namespace miravel::poemd {

inline constexpr int kIllOmenPenalty = 1 << 28;
inline constexpr int kMadePenalty = 1 << 27;
inline constexpr int kRepeatedRhymePenalty = 1 << 26;
inline constexpr int kPrimaryRhymeUnit = 1 << 24;  // times the rhyme's step, 0 to 3
inline constexpr int kPrimaryEndingPenalty = 1 << 23;
inline constexpr int kPrimaryLinkPenalty = 1 << 21;
inline constexpr int kPrimaryLevelsPenalty = 1 << 20;  // 孤平 or 三平尾
inline constexpr int kPrimaryInLinePenalty = 1 << 19;
inline constexpr int kSecondaryRhymeUnit = 1 << 16;

// What the rules read of a line: its tones and the rhymes of its last
// character in both readings.
struct LineReading {
  LineTones classical;
  LineTones modern;
  PingshuiRhymes pingshui = 0;
  RhymeGroup xinyun = kNoRhymeGroup;
};

// The rhyme a poem keeps: a 平水韵 rhyme when the book reads classically,
// a 中华新韵 group when it reads in modern tones (0 for the other).
struct RhymeKey {
  PingshuiRhyme pingshui = kNoPingshuiRhyme;
  RhymeGroup xinyun = kNoRhymeGroup;
  friend bool operator==(const RhymeKey&, const RhymeKey&) = default;
};

// How far a line ends from the rhyme, 0 (in it, on 平) to 3: classically
// 2 on 平 of another rhyme and 3 with no level reading; in modern tones 1 in
// the group on another tone, 2 on 平 of another group, 3 else. A rhyme of 0
// is no rhyme: only 平 counts.
int ClassicalRhymeStep(const LineReading& line, int length, PingshuiRhyme rhyme);
int ModernRhymeStep(const LineReading& line, int length, RhymeGroup group);

class LineRules {
 public:
  LineRules(int length, bool first_line_rhymes, RhymeBook book, RhymeKey rhyme, Opening opening)
      : length_(length),
        first_line_rhymes_(first_line_rhymes),
        book_(book),
        rhyme_(rhyme),
        opening_(opening) {}

  bool IsRhyming(size_t line) const { return IsRhymingLine(line, first_line_rhymes_); }
  int Penalty(size_t line, const LineReading& reading) const {
    return EndingPenalty(line, reading) + TemplatePenalty(line, reading);
  }
  // The two parts of the penalty: how the line ends (the rhyme and the
  // ending's tone), which asks for the rhyme; and how its tones run (粘对,
  // 二四六, 孤平, 三平尾), which asks for the opening only.
  int EndingPenalty(size_t line, const LineReading& reading) const;
  int TemplatePenalty(size_t line, const LineReading& reading) const;

 private:
  // The primary reading's penalties of line `line`.
  int Ending(size_t line, const LineReading& reading, bool classical) const;
  int Template(size_t line, LineTones tones) const;

  int length_;
  bool first_line_rhymes_;
  RhymeBook book_;
  RhymeKey rhyme_;
  Opening opening_;
};

}  // namespace miravel::poemd
