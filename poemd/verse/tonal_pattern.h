// The tonal pattern of regulated verse, as the composer keeps it and the
// measures check it, on the tones each line reads in context.
//
// A poem's template is set by the tone of the second character of its first
// line: 平起 when it is 平, 仄起 when 仄. The second characters of lines
// 1, 2, 3, 4 then take X, not X, not X, X, and so on every four lines: the
// two lines of a couplet are opposed (对) and each couplet joins the one
// before on the same tone (粘). Inside every line the fourth character
// differs from the second (二四不同) and in seven-character lines the sixth
// takes the second's tone again (二六对). Rhyming lines end on 平 and the
// others on 仄.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "poemd/verse/tones.h"

namespace miravel::poemd {

enum class Opening : uint8_t { kLevel = 0 /* 平起 */, kOblique = 1 /* 仄起 */ };

// A line's tones as bit masks, bit i for character i; a character in
// neither mask (a neutral tone) keeps no rule that asks for a tone.
struct LineTones {
  uint8_t level = 0;
  uint8_t oblique = 0;

  Tone At(int i) const {
    return (level >> i & 1) ? Tone::kLevel : (oblique >> i & 1) ? Tone::kOblique : Tone::kUnknown;
  }
  // The same tones with character i read as `tone` (a made line's hidden
  // character in its donor).
  LineTones WithToneAt(int i, Tone tone) const {
    const auto bit = static_cast<uint8_t>(1 << i);
    return {static_cast<uint8_t>((level & ~bit) | (tone == Tone::kLevel ? bit : 0)),
            static_cast<uint8_t>((oblique & ~bit) | (tone == Tone::kOblique ? bit : 0))};
  }
};

// The tone the second character of line `line` (0-based) takes.
inline Tone SecondTone(Opening opening, size_t line) {
  const size_t k = line % 4;
  const bool first = k == 0 || k == 3;
  return (opening == Opening::kLevel) == first ? Tone::kLevel : Tone::kOblique;
}
// Whether the line's second character takes SecondTone (false when its
// tone is unknown).
inline bool KeepsLink(LineTones tones, Opening opening, size_t line) {
  return tones.At(1) == SecondTone(opening, line);
}
// 二四不同, and 二六对 in seven-character lines.
inline bool KeepsInLine(LineTones tones, int length) {
  const bool level2 = tones.level >> 1 & 1;
  const bool oblique2 = tones.oblique >> 1 & 1;
  // The fourth character takes the other class; the sixth the second's.
  const bool four = level2 ? (tones.oblique >> 3 & 1) : oblique2 && (tones.level >> 3 & 1);
  const bool six = length < 7 || (level2 ? (tones.level >> 5 & 1) : (tones.oblique >> 5 & 1));
  return four && six;
}
// Whether line `line` (0-based) rhymes: the even lines (2, 4, ...), and
// the first too when the first line rhymes (首句入韵).
inline bool IsRhymingLine(size_t line, bool first_line_rhymes) {
  return line % 2 == 1 || (line == 0 && first_line_rhymes);
}
// 粘对 over a whole poem: some opening that every line keeps.
bool KeepsLinks(std::span<const LineTones> poem);

}  // namespace miravel::poemd
