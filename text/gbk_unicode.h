// GBK <-> UTF-16 for the program's own texts, on ICU's windows-936-2000
// converter. Bytes that are not valid GBK become U+FFFD; characters that GBK
// lacks become "?", the code page's default character. Thread-safe.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/text_ops.h"

namespace miravel {

std::u16string GbkToUtf16(std::string_view gbk);
Text Utf16ToGbk(std::u16string_view utf16);
// Whether GBK holds the character (as two bytes).
bool IsGbkCharacter(char16_t c);
// GBK bytes read strictly, as characters: every byte below 0x80 is one
// (controls too), every other character two bytes; nullopt when a byte
// sequence is no GBK character (a lead byte without its trail byte, a byte
// no GBK text holds, a pair that does not decode).
std::optional<std::u16string> GbkCharacters(std::string_view gbk);

}  // namespace miravel
