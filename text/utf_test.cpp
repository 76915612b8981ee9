#include "text/utf.h"

#include <gtest/gtest.h>

namespace miravel {
namespace {

TEST(Utf, ChineseAndCharactersBeyondTheBasicPlaneRoundTrip) {
  const std::string utf8 = "春风 a\xF0\xA0\x80\x80";  // U+20000 takes a surrogate pair
  const std::u16string utf16 = Utf8ToUtf16(utf8);
  EXPECT_EQ(utf16, u"春风 a\U00020000");
  EXPECT_EQ(Utf16ToUtf8(utf16), utf8);
}

TEST(Utf, BrokenInputBecomesReplacementCharacters) {
  EXPECT_EQ(Utf8ToUtf16("a\xE6\x98"), u"a\uFFFD");
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
  EXPECT_EQ(Utf8ToUtf16(""), u"");
}

}  // namespace
}  // namespace miravel
