// Readings of the characters of a line as the line reads them: a polyphone
// takes the syllable of the word it stands in (行 is háng in 十二行 and xíng
// in 行人; 蕃 is bō in 吐蕃), both its tone class and rhyme (verse/tones.h)
// and its toned pinyin. A word's weak syllable in the neutral tone (思量
// sī liang) is shown as the character reads alone when that is the same
// syllable in some tone.
//
// The words come from a word-level pronunciation dictionary (the npm data
// package @pinyin-pro/data, json/complete.json: word -> [toned pinyin, one
// syllable per character; frequency]). A line is cut into its most probable
// sequence of dictionary words (a unigram model over the frequencies); a
// character takes its syllable in its word. A character that stands alone
// reads as the dictionary reads it alone, and one the dictionary lacks as
// ICU reads it. 一 and 不 keep their citation tones (yī, bù): the
// dictionary writes the tone changes of speech, which verse does not count.
// A character that ends a line alone is no adverb or particle: 还 there is
// huán, 都 dū, 了 liǎo, 着 zhuó, 得 dé, 的 and 地 dì.
//
// Not thread-safe (the ICU fallback); each thread needs its own.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/status.h"
#include "poemd/indexing/phonetics.h"

namespace miravel::poemd {

class WordReadings {
 public:
  // No words yet: every character reads alone.
  WordReadings();
  ~WordReadings();
  WordReadings(WordReadings&&) noexcept;
  WordReadings& operator=(WordReadings&&) noexcept;

  // The dictionary file: NotFound when it cannot be opened, Corruption when
  // it is no dictionary or holds no word.
  static StatusOr<WordReadings> FromFile(const std::string& path);

  // Adds a word (one to seven characters). `pinyin` holds one toned
  // syllable per character, separated by blanks; a word whose syllables do
  // not match its characters is ignored. `frequency` is relative (> 0).
  void Add(std::u16string_view word, std::string_view pinyin, double frequency);
  size_t WordCount() const;
  // Whether the dictionary holds `word`.
  bool Knows(std::u16string_view word) const;

  // One reading per character of `line`. With `pinyin`, also each
  // character's toned syllable there ("" when none is known), and with
  // `in_word` whether it stands in a word of two or more characters.
  std::vector<Reading> ReadLine(std::u16string_view line,
                                std::vector<std::string>* pinyin = nullptr,
                                std::vector<bool>* in_word = nullptr);
  // The character's reading on its own, and its toned syllable ("" when
  // none is known).
  Reading ReadAlone(char16_t character);
  std::string PinyinAlone(char16_t character);
  // The toned syllables the dictionary's words of two or more characters
  // give the character, most frequent first; neutral tones left out.
  std::vector<std::string> PinyinInWords(char16_t character);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace miravel::poemd
