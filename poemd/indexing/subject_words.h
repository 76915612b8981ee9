// Which words may say what a poem is about, for the subject learner
// (subject_learner.h): never the words every poem needs whatever it speaks
// of (the particles and pronouns, negation and degree, numerals), and in a
// title each character and each two side by side (中秋, 送别, 咏梅).
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace miravel::poemd {

// A function character or a numeral: no subject's mark.
bool IsSubjectless(char16_t c);

// The title's words, each once: its Chinese characters that are not
// subjectless, then each pair of Chinese characters side by side that holds
// no function character and no numeral but at its start (七夕, 九日; not
// 夜二); none holds 首, which counts poems (二首). A word of one character
// is written with a '\0' after it, so that every word is two units long.
std::vector<std::u16string> TitleWords(std::u16string_view title);

}  // namespace miravel::poemd
