// Tone class and rhyme group of a Chinese character (verse/tones.h), from
// its Mandarin reading (ICU's Han-Latin transliteration, one reading per
// character): 平 for the first and second tones, 仄 for the third and
// fourth, the neutral tone neither; the 中华新韵 group from the pinyin final.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "poemd/verse/tones.h"

namespace miravel::poemd {

// From one syllable of toned pinyin in UTF-8 ("chūn", "ér", "lǜ").
Reading ReadingOfPinyin(std::string_view pinyin);

// The reading of one character (a BMP code point). Not thread-safe: each
// thread needs its own Phonetics.
class Phonetics {
 public:
  Phonetics();
  ~Phonetics();
  Phonetics(const Phonetics&) = delete;
  Phonetics& operator=(const Phonetics&) = delete;

  Reading Of(char16_t character);
  // The toned pinyin ICU gives for the character ("" when none).
  std::string Pinyin(char16_t character);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace miravel::poemd
