#include "text/gbk_unicode.h"

#include <unicode/ucnv.h>

#include "text/icu_converter.h"

namespace miravel {

std::u16string GbkToUtf16(std::string_view gbk) {
  UConverter* converter = ThreadConverter(kGbkConverter);
  if (converter == nullptr || gbk.empty()) return {};
  // GBK never yields more UTF-16 units than bytes.
  std::u16string out(gbk.size(), u'\0');
  UErrorCode status = U_ZERO_ERROR;
  const int32_t n = ucnv_toUChars(converter, out.data(), static_cast<int32_t>(out.size()),
                                  gbk.data(), static_cast<int32_t>(gbk.size()), &status);
  if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) return {};
  out.resize(static_cast<size_t>(n));
  return out;
}

Text Utf16ToGbk(std::u16string_view utf16) {
  UConverter* converter = ThreadConverter(kGbkConverter);
  if (converter == nullptr || utf16.empty()) return {};
  // At most two bytes per unit: a surrogate pair becomes one "?".
  Text out(utf16.size() * 2, '\0');
  UErrorCode status = U_ZERO_ERROR;
  const int32_t n = ucnv_fromUChars(converter, out.data(), static_cast<int32_t>(out.size()),
                                    utf16.data(), static_cast<int32_t>(utf16.size()), &status);
  if (U_FAILURE(status) && status != U_STRING_NOT_TERMINATED_WARNING) return {};
  out.resize(static_cast<size_t>(n));
  return out;
}

bool IsGbkCharacter(char16_t c) { return Utf16ToGbk(std::u16string_view(&c, 1)).size() == 2; }

std::optional<std::u16string> GbkCharacters(std::string_view gbk) {
  std::u16string characters;
  for (size_t i = 0; i < gbk.size();) {
    const auto lead = static_cast<unsigned char>(gbk[i]);
    if (lead < 0x80) {
      characters.push_back(lead);
      ++i;
      continue;
    }
    const auto trail = i + 1 < gbk.size() ? static_cast<unsigned char>(gbk[i + 1]) : 0;
    if (lead == 0x80 || lead == 0xFF || trail < 0x40 || trail == 0x7F || trail == 0xFF) {
      return std::nullopt;
    }
    const std::u16string one = GbkToUtf16(gbk.substr(i, 2));
    if (one.size() != 1 || one[0] == u'\uFFFD') return std::nullopt;
    characters += one;
    i += 2;
  }
  return characters;
}

}  // namespace miravel
