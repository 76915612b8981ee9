#include "text/codepage.h"

#include <gtest/gtest.h>

#include "text/gbk_unicode.h"

namespace miravel {
namespace {

using namespace std::string_literals;

TEST(Utf8ToGbk, AsciiAndChineseCharacters) {
  EXPECT_EQ(Utf8ToGbk("abc"), "abc");
  EXPECT_EQ(Utf8ToGbk("\xE4\xB8\xAD"), "\xD6\xD0");  // 中
  EXPECT_EQ(Utf8ToGbk(""), "");
}

TEST(Utf8ToGbk, CharacterGbkLacksBecomesDefaultAndTheRestFollows) {
  // U+1F600 and U+0E01 (Thai) have no GBK form.
  EXPECT_EQ(Utf8ToGbk("a\xF0\x9F\x98\x80"
                      "b\xE0\xB8\x81"
                      "c"),
            "a?b?c");
}

TEST(Utf8ToGbk, ReadsOnlyUpToTheFirstZeroByte) { EXPECT_EQ(Utf8ToGbk("ab\0\xE4\xB8\xAD"s), "ab"); }

TEST(Big5ToGbk, TraditionalCharacterKeepsItsForm) {
  EXPECT_EQ(Big5ToGbk("\xB0\xEA"), "\x87\xF8");            // 國
  EXPECT_EQ(Big5ToGbkSimplified("\xB0\xEA"), "\xB9\xFA");  // 国
  EXPECT_EQ(Big5ToGbkSimplified("x\xB0\xEAy"), "x\xB9\xFAy");
  EXPECT_EQ(Big5ToGbkSimplified(""), "");
}

TEST(Big5ToGbk, CharacterGbkLacksDoesNotCutTheText) {
  // Big5 0xF9F9 is a box-drawing character that windows-936 maps, 0xC6A1 a
  // user-defined one that it does not: both keep the text going.
  const Text converted = Big5ToGbk(
      "a\xC6\xA1"
      "b");
  EXPECT_EQ(converted.front(), 'a');
  EXPECT_EQ(converted.back(), 'b');
}

TEST(TraditionalToSimplified, KeepsLengthAsciiAndSimplifiedCharacters) {
  const Text mixed = "abc \xB9\xFA\x87\xF8\xD6\xD0";  // "abc 国國中"
  const Text mapped = TraditionalToSimplified(mixed);
  EXPECT_EQ(mapped.size(), mixed.size());
  EXPECT_EQ(mapped, "abc \xB9\xFA\xB9\xFA\xD6\xD0");
  EXPECT_EQ(TraditionalToSimplified(""), "");
}

TEST(MultiByteToUtf16, UnitsLowByteFirstWithTerminator) {
  EXPECT_EQ(MultiByteToUtf16("\xE4\xB8\xAD"), "\x2D\x4E\0\0"s);
  EXPECT_EQ(MultiByteToUtf16("\xD6\xD0", kCodePageGbk), "\x2D\x4E\0\0"s);
  EXPECT_EQ(MultiByteToUtf16("", kCodePageUtf8), "\0\0"s);
  EXPECT_EQ(MultiByteToUtf16("a", 12345), "");
}

TEST(Utf16ToMultiByte, DefaultCodePageIsGbkAndStopsAtZeroUnit) {
  EXPECT_EQ(Utf16ToMultiByte("\x2D\x4E\0\0\x41\0"s), "\xD6\xD0");
  EXPECT_EQ(Utf16ToMultiByte("\x2D\x4E"s, kCodePageUtf8), "\xE4\xB8\xAD");
}

TEST(GbkUnicode, RoundTripAndInvalidBytes) {
  EXPECT_EQ(GbkToUtf16("a\xD6\xD0"), u"a\u4E2D");
  EXPECT_EQ(Utf16ToGbk(u"a\u4E2D"), "a\xD6\xD0");
  EXPECT_EQ(Utf16ToGbk(u"\u0E01"), "?");
  // A byte that is no GBK character never decodes as an ASCII letter.
  for (const char* junk : {"\xFF", "\x81", "\xA1"}) {
    for (char16_t unit : GbkToUtf16(junk)) EXPECT_GE(unit, 0x80) << junk;
  }
}

}  // namespace
}  // namespace miravel
