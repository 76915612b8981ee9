// The pinyin of the index: every character's toned syllables and each
// line's reading in context, so that a poem can be shown with its reading
// over every character.
//
// Syllables are numbered (SyllableId) in one table of toned pinyin, UTF-8
// ("kàn", "lüè"). Each character has the syllable it reads alone, and a
// polyphone every reading it may have, each with its class in the classical
// reading where that is known (看 kān 平, kàn 仄), and how often the corpus's
// regulated verse reads it 仄 (看 often, 风 hardly ever: its 仄 reading fěng
// is another word). A line keeps only what
// differs from its characters read alone: the syllable its words give
// where that is another, and, for a polyphone that stands in a word of the
// dictionary, that its word decides it (长安 is cháng, whatever the metre).
//
// Views into the index file's sections (index_sections.h), checked by
// Check before use; read-only and safe to share between threads.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "common/status.h"
#include "poemd/verse/tones.h"

namespace miravel::poemd {

using SyllableId = uint16_t;
inline constexpr SyllableId kNoSyllable = 0;
// The table's slots: a name of at most kSyllableBytes - 1 bytes, padded
// with '\0'.
inline constexpr size_t kSyllableBytes = 8;
// Ids are below this; a line entry's top bit marks a syllable its word
// decides, and a polyphone's reading keeps its class in the top two bits.
inline constexpr SyllableId kSyllableLimit = 0x4000;
inline constexpr uint16_t kDecidedByWord = 0x8000;
inline constexpr int kReadingClassShift = 14;
// A polyphone's share of 仄 in verse when it stands in a place that tells
// too seldom to say.
inline constexpr uint8_t kUnattested = 255;

// One reading a character may have.
struct CharacterReading {
  SyllableId syllable = kNoSyllable;
  Tone classical = Tone::kUnknown;  // its class in the classical reading, when known
};

// Every reading of a polyphone, and how verse reads it.
struct PolyphoneReadings {
  std::vector<CharacterReading> readings;  // the one it reads alone first
  // Of the places in regulated verse where its line's pattern or its rhyme
  // tells its class, the percentage read 仄; kUnattested when too few.
  uint8_t verse_oblique_percent = kUnattested;
};

// One character of a line as the line reads it.
struct LineSyllable {
  SyllableId syllable = kNoSyllable;
  bool decided_by_word = false;  // a polyphone its word of the dictionary reads
};

// The sections, as the builder writes them.
struct SyllableArrays {
  std::span<const char> names;                   // kSyllableBytes a syllable; slot 0 empty
  std::span<const uint16_t> alone;               // 65536: the syllable a character reads alone
  std::span<const char16_t> polyphones;          // ascending
  std::span<const uint32_t> polyphone_starts;    // one more than polyphones
  std::span<const uint16_t> polyphone_readings;  // syllable | class << kReadingClassShift
  std::span<const uint8_t> polyphone_verse;      // one a polyphone: verse_oblique_percent
  // Per line length (slot 0 five characters, 1 seven): line << 3 | position,
  // ascending, and the syllable there (| kDecidedByWord).
  std::span<const uint32_t> line_keys[2];
  std::span<const uint16_t> line_values[2];
};

class Syllables {
 public:
  Syllables() = default;
  // Corruption, with the reason, when a value is out of range: a syllable
  // not in the table, a name not ended, runs not whole, a line entry for a
  // line or position that is not there. `lines`: each slot's line count.
  static Status Check(const SyllableArrays& arrays, const size_t (&lines)[2]);
  // REQUIRES: Check(arrays, ...) is Ok.
  explicit Syllables(const SyllableArrays& arrays);

  size_t Count() const { return a_.names.size() / kSyllableBytes; }
  // The syllable's toned pinyin, UTF-8; "" for kNoSyllable or an id beyond
  // the table.
  std::string_view Name(SyllableId id) const;
  // The syllable the character reads alone; kNoSyllable when none is known.
  SyllableId Alone(char16_t character) const {
    return a_.alone.empty() ? kNoSyllable : a_.alone[character];
  }
  // Every reading of a polyphone; none for a character of one reading.
  PolyphoneReadings ReadingsOf(char16_t character) const;
  // ReadingsOf(character).verse_oblique_percent without gathering the
  // readings: kUnattested for a character of one reading too.
  uint8_t VerseObliquePercent(char16_t character) const;
  // The line `line` of length `length` (its text `text`), as its words read
  // it: one syllable a character.
  std::vector<LineSyllable> OfLine(int length, uint32_t line, std::u16string_view text) const;

 private:
  SyllableArrays a_;
  // verse_oblique_percent by character (kUnattested for most): the rules
  // ask it of hundreds of lines a poem (compose/line_reading.h), where a
  // search of the polyphones took a twentieth of a poem's time. 64 KiB.
  std::vector<uint8_t> verse_by_character_;
};

}  // namespace miravel::poemd
