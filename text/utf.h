// UTF-8 <-> UTF-16 for the program's own texts, on ICU. Bytes that are not
// valid UTF-8 and lone surrogates become U+FFFD. Thread-safe.
#pragma once

#include <string>
#include <string_view>

namespace miravel {

std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace miravel
