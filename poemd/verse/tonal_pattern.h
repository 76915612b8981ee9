// The tonal pattern of regulated verse, as the composer keeps it and the
// measures check it, in either reading of a line's tones: the classical
// (平水韵, the entering tone counted 仄) or the modern (中华新韵).
//
// A poem's template is set by the tone of the second character of its first
// line: 平起 when it is 平, 仄起 when 仄. The second characters of lines
// 1, 2, 3, 4 then take X, not X, not X, X, and so on every four lines: the
// two lines of a couplet are opposed (对) and each couplet joins the one
// before on the same tone (粘). Inside every line the fourth character
// differs from the second and in seven-character lines the sixth takes the
// second's tone again (二四六分明). Rhyming lines end on 平 and the others on
// 仄. A rhyming line of the pattern 平平仄仄平 must not lose the 平 before its
// second character: 仄平仄仄平 leaves one 平 besides the rhyme (孤平); and no
// line ends on three 平 (三平尾).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "poemd/verse/tones.h"

namespace miravel::poemd {

enum class Opening : uint8_t { kLevel = 0 /* 平起 */, kOblique = 1 /* 仄起 */ };

// A line's tones as bit masks, bit i for character i: `level` holds the
// characters that may be read 平, `oblique` those that may be read 仄. A
// character in both may be read either way (a classical reading of both
// classes that the line's sense does not decide); one in neither keeps no
// rule that asks for a tone (a neutral modern tone).
struct LineTones {
  uint8_t level = 0;
  uint8_t oblique = 0;

  bool CanBeLevel(int i) const { return (level >> i & 1) != 0; }
  bool CanBeOblique(int i) const { return (oblique >> i & 1) != 0; }
  bool CanBe(int i, Tone tone) const {
    return tone == Tone::kLevel ? CanBeLevel(i) : tone == Tone::kOblique && CanBeOblique(i);
  }
  // The same tones with character i read as a character alone reads (a
  // made line's hidden character in its donor).
  LineTones WithCharacterAt(int i, bool can_be_level, bool can_be_oblique) const {
    const auto bit = static_cast<uint8_t>(1 << i);
    return {static_cast<uint8_t>((level & ~bit) | (can_be_level ? bit : 0)),
            static_cast<uint8_t>((oblique & ~bit) | (can_be_oblique ? bit : 0))};
  }
  LineTones WithToneAt(int i, Tone tone) const {
    return WithCharacterAt(i, tone == Tone::kLevel, tone == Tone::kOblique);
  }
  friend bool operator==(const LineTones&, const LineTones&) = default;
};

// The tone the second character of line `line` (0-based) takes.
inline Tone SecondTone(Opening opening, size_t line) {
  const size_t k = line % 4;
  const bool first = k == 0 || k == 3;
  return (opening == Opening::kLevel) == first ? Tone::kLevel : Tone::kOblique;
}
inline Tone Other(Tone tone) { return tone == Tone::kLevel ? Tone::kOblique : Tone::kLevel; }

// Whether the line's second character can take SecondTone (粘对).
inline bool KeepsLink(LineTones tones, Opening opening, size_t line) {
  return tones.CanBe(1, SecondTone(opening, line));
}
// 二四六分明 on its own: some tone of the second character that the fourth
// opposes and, in seven-character lines, the sixth repeats.
inline bool KeepsInLine(LineTones tones, int length) {
  for (const Tone t : {Tone::kLevel, Tone::kOblique}) {
    if (tones.CanBe(1, t) && tones.CanBe(3, Other(t)) && (length < 7 || tones.CanBe(5, t))) {
      return true;
    }
  }
  return false;
}
// 粘对 and 二四六分明 together, under one opening.
inline bool KeepsTemplate(LineTones tones, int length, Opening opening, size_t line) {
  const Tone t = SecondTone(opening, line);
  return tones.CanBe(1, t) && tones.CanBe(3, Other(t)) && (length < 7 || tones.CanBe(5, t));
}
// The tone the line's own pattern gives character `at`, one of the second,
// fourth and sixth (二四六分明: the second and sixth alike, the fourth
// opposed): from another of them that can be read one way only; kUnknown
// where none can, or `at` is not one of them.
inline Tone ToneByPattern(LineTones tones, int length, int at) {
  if (at % 2 == 0 || at >= length - 1) return Tone::kUnknown;
  for (int other = 1; other < length - 1; other += 2) {
    if (other == at || tones.CanBeLevel(other) == tones.CanBeOblique(other)) continue;
    const Tone sure = tones.CanBeLevel(other) ? Tone::kLevel : Tone::kOblique;
    return (at - other) % 4 == 0 ? sure : Other(sure);
  }
  return Tone::kUnknown;
}
// 孤平: a line ending 平 whose last five characters cannot be read but as
// 仄平仄仄平, or with fewer 平 still, before the 仄 next to the rhyme.
inline bool IsLonelyLevel(LineTones tones, int length) {
  const int t0 = length - 5;
  if (!tones.CanBeLevel(length - 1) || tones.CanBeLevel(length - 2)) return false;
  const int levels = tones.CanBeLevel(t0) + tones.CanBeLevel(t0 + 1) + tones.CanBeLevel(t0 + 2);
  return levels <= 1;
}
// 三平尾: the last three characters cannot be read but as 平.
inline bool HasThreeLevelTail(LineTones tones, int length) {
  for (int i = length - 3; i < length; ++i) {
    if (!tones.CanBeLevel(i) || tones.CanBeOblique(i)) return false;
  }
  return true;
}

// Whether line `line` (0-based) rhymes: the even lines (2, 4, ...), and
// the first too when the first line rhymes (首句入韵).
inline bool IsRhymingLine(size_t line, bool first_line_rhymes) {
  return line % 2 == 1 || (line == 0 && first_line_rhymes);
}
// 粘对 over a whole poem: some opening that every line keeps.
bool KeepsLinks(std::span<const LineTones> poem);
// The whole template (粘对 at the second, fourth and sixth characters):
// some opening under which every line keeps KeepsTemplate.
bool KeepsWholeTemplate(std::span<const LineTones> poem, int length);

}  // namespace miravel::poemd
