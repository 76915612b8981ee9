#include "poemd/indexing/subject_words.h"

#include <algorithm>

#include "poemd/verse/cjk.h"

namespace miravel::poemd {
namespace {

// Read from the corpus's most frequent characters: those that stand in
// poems of every kind alike.
constexpr std::u16string_view kFunctionCharacters =
    u"之乎者也矣焉哉兮耳而以于於与及其或则乃且若如似犹亦又复更还仍再皆俱共相自所为"
    u"被把将欲可能得须应当宜莫勿休不无未非否弗没有是此斯彼何谁孰安岂宁那这个些便即"
    u"已既曾尝方始才正只唯惟但独最甚太极颇稍渐尚我吾余予汝尔伊他她"
    // and the spoken tongue's, which drama and the monks' sayings share
    u"你您咱俺的了着么呢吗啊呵哩罢咧怎哪";
constexpr std::u16string_view kNumerals = u"一二三四五六七八九十百千万亿两廿卅几数";

// In a title, 首 counts poems (二首, 百首).
constexpr char16_t kPoemCounter = u'首';

bool IsFunctionCharacter(char16_t c) {
  return kFunctionCharacters.find(c) != std::u16string_view::npos;
}
bool IsNumeral(char16_t c) { return kNumerals.find(c) != std::u16string_view::npos; }

}  // namespace

bool IsSubjectless(char16_t c) { return IsFunctionCharacter(c) || IsNumeral(c); }

std::vector<std::u16string> TitleWords(std::u16string_view title) {
  std::vector<std::u16string> words;
  const auto add = [&](std::u16string word) {
    if (std::find(words.begin(), words.end(), word) == words.end()) words.push_back(word);
  };
  for (const char16_t c : title) {
    if (IsCjk(c) && !IsSubjectless(c) && c != kPoemCounter) add(std::u16string{c, u'\0'});
  }
  for (size_t i = 0; i + 1 < title.size(); ++i) {
    const char16_t a = title[i], b = title[i + 1];
    const auto counts = [](char16_t c) { return c == kPoemCounter || IsFunctionCharacter(c); };
    if (IsCjk(a) && IsCjk(b) && !counts(a) && !counts(b) && !IsNumeral(b)) {
      add(std::u16string{a, b});
    }
  }
  return words;
}

}  // namespace miravel::poemd
