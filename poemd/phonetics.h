// Tone class and rhyme group of a Chinese character, from its Mandarin
// reading (ICU's Han-Latin transliteration, one reading per character).
//
// Tone class: 平 for the first and second tones, 仄 for the third and
// fourth; the neutral tone is neither (kUnknown). Rhyme group: the fourteen
// groups of 中华新韵, from the pinyin final.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace miravel::poemd {

enum class Tone : uint8_t { kUnknown = 0, kLevel = 1 /* 平 */, kOblique = 2 /* 仄 */ };

// 1 麻, 2 波, 3 皆, 4 开, 5 微, 6 豪, 7 尤, 8 寒, 9 文, 10 唐, 11 庚, 12 齐,
// 13 支, 14 姑; 0 when unknown.
using RhymeGroup = uint8_t;
inline constexpr RhymeGroup kNoRhymeGroup = 0;
inline constexpr int kRhymeGroupCount = 14;

struct Reading {
  Tone tone = Tone::kUnknown;
  RhymeGroup rhyme = kNoRhymeGroup;
};

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
