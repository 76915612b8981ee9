// Conversions of reply text from other code pages into GBK (code page 936).
//
// Texts are read up to their first zero byte. Nothing reports an error:
// bytes invalid in the source code page become U+FFFD on the way in, and a
// character that the target code page lacks becomes its default character
// "?" on the way out. Stateless and thread-safe.
#pragma once

#include "common/text_ops.h"

namespace miravel {

inline constexpr int kCodePageSystem = 0;  // the system's ANSI code page: GBK here
inline constexpr int kCodePageGbk = 936;
inline constexpr int kCodePageBig5 = 950;
inline constexpr int kCodePageUtf8 = 65001;

// The entry points.
Text Utf8ToGbk(const Text& utf8);
// Big5 to GBK, with traditional characters mapped to their simplified forms.
Text Big5ToGbkSimplified(const Text& big5);

// Their steps.
// UTF-16 code units, low byte first, followed by one zero unit. An unknown
// code page gives the empty byte set.
Bytes MultiByteToUtf16(const Text& text, int code_page = kCodePageUtf8);
// Reads the units up to the first zero unit; an unknown code page gives "".
Text Utf16ToMultiByte(const Bytes& utf16, int code_page = kCodePageSystem);
// Big5 to GBK, character for character.
Text Big5ToGbk(const Text& big5);
// Maps traditional characters to simplified ones with ICU's
// Traditional-Simplified transliterator. The result has the input's length:
// a character whose mapping would change the byte count stays as it is.
Text TraditionalToSimplified(const Text& gbk);

}  // namespace miravel
