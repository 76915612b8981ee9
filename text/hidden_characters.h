// The one rule for what can be hidden in a poem, for the window, the
// service's route for programs and its page for browsers alike: Han
// characters that GBK holds (simplified or traditional), one per line of the
// poem, at least one and at most kMaxHiddenCharacters. Everything else is
// refused: letters, digits, blanks (the full-width space too), punctuation,
// emoji, characters GBK lacks, bytes that are no GBK character.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace miravel {

inline constexpr size_t kMaxHiddenCharacters = 100;

enum class HiddenRefusal {
  kNone,
  kEmpty,        // nothing at all
  kNotHan,       // a letter, digit, blank, punctuation, emoji, "?" ...
  kNotInGbk,     // a Han character GBK lacks
  kTooMany,      // more than kMaxHiddenCharacters
  kBrokenBytes,  // GBK bytes that are no character (half a character, say)
};

struct HiddenCheck {
  HiddenRefusal refusal = HiddenRefusal::kNone;
  std::vector<char32_t> offending;  // the characters refused, each once, in order
  size_t count = 0;                 // the characters given
  bool ok() const { return refusal == HiddenRefusal::kNone; }
};

// Whether one character could be hidden: Han, and held by GBK.
bool CanBeHidden(char32_t c);

// `characters` as Unicode code points.
HiddenCheck CheckHidden(std::u32string_view characters);
// UTF-8 text, as a browser sends it.
HiddenCheck CheckHiddenUtf8(std::string_view utf8);
// GBK bytes, as the window holds them and the desktop client posts them. A
// "?" stands in the window for what GBK cannot hold (an emoji, say).
HiddenCheck CheckHiddenGbk(std::string_view gbk);

// What is wrong and what to do, in Chinese, UTF-8; "" for kNone. Names up to
// eight of the characters refused.
std::string HiddenRefusalMessage(const HiddenCheck& check);

}  // namespace miravel
