// GBK <-> UTF-16 for the program's own texts, on ICU's windows-936-2000
// converter. Bytes that are not valid GBK become U+FFFD; characters that GBK
// lacks become "?", the code page's default character. Thread-safe.
#pragma once

#include <string>
#include <string_view>

#include "common/text_ops.h"

namespace miravel {

std::u16string GbkToUtf16(std::string_view gbk);
Text Utf16ToGbk(std::u16string_view utf16);
// Whether GBK holds the character (as two bytes).
bool IsGbkCharacter(char16_t c);

}  // namespace miravel
