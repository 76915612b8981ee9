#include "poemd/index/pinyin_letters.h"

#include <algorithm>
#include <array>

#include "text/utf.h"

namespace miravel::poemd {
namespace {

constexpr std::array<MarkedVowel, 28> kMarked = {{
    {u'ā', u'a', 1}, {u'á', u'a', 2}, {u'ǎ', u'a', 3}, {u'à', u'a', 4}, {u'ē', u'e', 1},
    {u'é', u'e', 2}, {u'ě', u'e', 3}, {u'è', u'e', 4}, {u'ī', u'i', 1}, {u'í', u'i', 2},
    {u'ǐ', u'i', 3}, {u'ì', u'i', 4}, {u'ō', u'o', 1}, {u'ó', u'o', 2}, {u'ǒ', u'o', 3},
    {u'ò', u'o', 4}, {u'ū', u'u', 1}, {u'ú', u'u', 2}, {u'ǔ', u'u', 3}, {u'ù', u'u', 4},
    {u'ǖ', u'ü', 1}, {u'ǘ', u'ü', 2}, {u'ǚ', u'ü', 3}, {u'ǜ', u'ü', 4}, {u'ü', u'ü', 0},
    {u'ń', u'n', 2}, {u'ň', u'n', 3}, {u'ǹ', u'n', 4},
}};

}  // namespace

std::span<const MarkedVowel> MarkedVowels() { return kMarked; }

std::u16string Letters(std::string_view pinyin) {
  std::u16string letters = Utf8ToUtf16(pinyin);
  for (char16_t& c : letters) {
    const auto marked = std::find_if(kMarked.begin(), kMarked.end(),
                                     [c](const MarkedVowel& m) { return m.code == c; });
    if (marked != kMarked.end()) c = marked->letter;
  }
  return letters;
}

}  // namespace miravel::poemd
