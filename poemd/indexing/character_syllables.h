// The pinyin the index keeps (index/syllables.h), gathered while it is
// built: the syllable each character reads alone (as the word readings read
// it, or ICU where they are not given); every reading a polyphone may have,
// from the dictionary's words, the modern dictionaries and the historical
// one, each with its class in the classical reading; and each line's
// syllables where they differ from its characters read alone.
//
// A historical reading joins only where it is another tone of a syllable
// already known, or the other half of a syllable of an old voiced initial
// that Mandarin split by tone (騎 jì beside qí): the historical dictionary
// also lists readings of other words written with the same character (听
// yǐn, to smile; 醒 chéng, 酲), which no reader of a poem means.
//
// How often regulated verse reads a polyphone 仄 is counted over the places
// where its line tells: one of the second, fourth and sixth characters
// whose line has another of them of one class only (二四六分明: the second
// and sixth alike, the fourth opposed), and the last character of a line
// that rhymes (平) or of one after the first that does not (仄).
//
// A reading's class: where the classical reading has one class only, that
// one; where it has both and no entering tone, the Mandarin tone tells them
// apart (first and second 平, third and fourth 仄: 看 kān and kàn); where an
// entering tone is among them, only a third or fourth tone is surely 仄.
// Not thread-safe.
#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "poemd/index/index_file.h"
#include "poemd/index/syllables.h"
#include "poemd/indexing/classical_readings.h"
#include "poemd/indexing/unihan_readings.h"
#include "poemd/indexing/word_readings.h"
#include "poemd/verse/tonal_pattern.h"

namespace miravel::poemd {

// The class of `syllable` as a reading of a character whose classical
// readings are `classical`.
Tone ClassOfReading(const ClassicalReading& classical, std::string_view syllable);

class CharacterSyllables {
 public:
  // Each source may be null; none is owned, and each must outlive this.
  CharacterSyllables(WordReadings* words, const UnihanReadings* unihan,
                     const ClassicalReadings* classical);
  ~CharacterSyllables();
  CharacterSyllables(const CharacterSyllables&) = delete;
  CharacterSyllables& operator=(const CharacterSyllables&) = delete;

  // What a line keeps of its reading, one value a character of `text`:
  // its syllable there, | kDecidedByWord for a character of readings of
  // both classes that stands in a word. `pinyin` and `in_word` as
  // WordReadings::ReadLine gives them (empty: every character alone).
  // REQUIRES: out.size() == text.size().
  void ReadLine(std::u16string_view text, const std::vector<std::string>& pinyin,
                const std::vector<bool>& in_word, std::span<uint16_t> out);
  // Line `line` (0-based) of a regulated poem: `text` and its classical
  // tones as the index records them.
  void CountInVerse(std::u16string_view text, LineTones tones, size_t line);
  // Writes the sections, with each length's lines (`texts`, one after
  // another) and what ReadLine gave for them (`values`, in the same order).
  void Write(IndexFileWriter& w, const std::u16string_view (&texts)[2],
             const std::span<const uint16_t> (&values)[2]);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace miravel::poemd
