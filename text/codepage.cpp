#include "text/codepage.h"

#include <unicode/translit.h>
#include <unicode/ucnv.h>
#include <unicode/unistr.h>

#include <memory>

#include "text/gbk_unicode.h"
#include "text/icu_converter.h"

namespace miravel {
namespace {

const char* ConverterFor(int code_page) {
  switch (code_page) {
    case kCodePageSystem:
    case kCodePageGbk:
      return kGbkConverter;
    case kCodePageBig5:
      return kBig5Converter;
    case kCodePageUtf8:
      return kUtf8Converter;
    default:
      return nullptr;
  }
}

icu::Transliterator* ThreadTraditionalToSimplified() {
  thread_local std::unique_ptr<icu::Transliterator> transliterator = [] {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Transliterator> t(
        icu::Transliterator::createInstance("Traditional-Simplified", UTRANS_FORWARD, status));
    return U_SUCCESS(status) ? std::move(t) : nullptr;
  }();
  return transliterator.get();
}

// Bytes that one UTF-16 unit takes in GBK: ASCII (and the euro sign) one,
// everything else two.
size_t GbkWidth(char16_t unit) { return (unit < 0x80 || unit == 0x20AC) ? 1 : 2; }

}  // namespace

Bytes MultiByteToUtf16(const Text& text, int code_page) {
  const char* name = ConverterFor(code_page);
  UConverter* converter = name != nullptr ? ThreadConverter(name) : nullptr;
  if (converter == nullptr) return {};
  const Text source = TextOf(text);
  std::u16string units(source.size() + 1, u'\0');
  UErrorCode status = U_ZERO_ERROR;
  const int32_t n = ucnv_toUChars(converter, units.data(), static_cast<int32_t>(units.size()),
                                  source.data(), static_cast<int32_t>(source.size()), &status);
  if (U_FAILURE(status)) return {};
  units.resize(static_cast<size_t>(n) + 1);  // keeps the terminating zero unit
  Bytes out(units.size() * 2, '\0');
  for (size_t i = 0; i < units.size(); ++i) {
    out[2 * i] = static_cast<char>(units[i] & 0xFF);
    out[2 * i + 1] = static_cast<char>(units[i] >> 8);
  }
  return out;
}

Text Utf16ToMultiByte(const Bytes& utf16, int code_page) {
  const char* name = ConverterFor(code_page);
  UConverter* converter = name != nullptr ? ThreadConverter(name) : nullptr;
  if (converter == nullptr) return {};
  std::u16string units;
  for (size_t i = 0; i + 1 < utf16.size(); i += 2) {
    const auto unit = static_cast<char16_t>(static_cast<unsigned char>(utf16[i]) |
                                            static_cast<unsigned char>(utf16[i + 1]) << 8);
    if (unit == 0) break;
    units.push_back(unit);
  }
  if (units.empty()) return {};
  Text out(units.size() * 4, '\0');  // UTF-8 takes at most three bytes a unit
  UErrorCode status = U_ZERO_ERROR;
  const int32_t n = ucnv_fromUChars(converter, out.data(), static_cast<int32_t>(out.size()),
                                    units.data(), static_cast<int32_t>(units.size()), &status);
  if (U_FAILURE(status)) return {};
  out.resize(static_cast<size_t>(n));
  return TextOf(out);
}

Text Utf8ToGbk(const Text& utf8) { return Utf16ToMultiByte(MultiByteToUtf16(utf8), kCodePageGbk); }

// Unlike a conversion that stops at the first character GBK lacks (and so
// silently loses the rest of the text), such a character becomes "?" here.
Text Big5ToGbk(const Text& big5) {
  return Utf16ToMultiByte(MultiByteToUtf16(big5, kCodePageBig5), kCodePageGbk);
}

Text TraditionalToSimplified(const Text& gbk) {
  icu::Transliterator* transliterator = ThreadTraditionalToSimplified();
  const std::u16string source = GbkToUtf16(gbk);
  if (transliterator == nullptr || source.empty()) return gbk;
  icu::UnicodeString mapped(source.data(), static_cast<int32_t>(source.size()));
  transliterator->transliterate(mapped);
  std::u16string result(mapped.getBuffer(), static_cast<size_t>(mapped.length()));
  if (result.size() != source.size()) {
    // A mapping changed the unit count; map one character at a time instead.
    result.clear();
    for (char16_t unit : source) {
      icu::UnicodeString one(unit);
      transliterator->transliterate(one);
      result.push_back(one.length() == 1 ? one.charAt(0) : unit);
    }
  }
  for (size_t i = 0; i < result.size(); ++i) {
    if (GbkWidth(result[i]) != GbkWidth(source[i])) result[i] = source[i];
  }
  Text out = Utf16ToGbk(result);
  // Characters that GBK lacks after mapping would turn into "?" and shorten
  // the text; keep the original bytes in that rare case.
  return out.size() == gbk.size() ? out : gbk;
}

Text Big5ToGbkSimplified(const Text& big5) { return TraditionalToSimplified(Big5ToGbk(big5)); }

}  // namespace miravel
