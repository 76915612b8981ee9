// The letters of toned pinyin in UTF-8 ("kàn", "lǜ"): which vowels carry a
// tone mark, and a syllable's letters without it.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace miravel::poemd {

// A vowel (or the syllabic n) with its tone mark, its letter (u'ü' for the
// marked ü) and its tone, 0 for the unmarked ü.
struct MarkedVowel {
  char16_t code;
  char16_t letter;
  int tone;
};
std::span<const MarkedVowel> MarkedVowels();

// The syllable's letters, the tone mark left off ("lǜ" -> u"lü").
std::u16string Letters(std::string_view pinyin);
// Whether two syllables differ in their tones at most (kān and kàn).
inline bool SameLetters(std::string_view a, std::string_view b) { return Letters(a) == Letters(b); }

}  // namespace miravel::poemd
