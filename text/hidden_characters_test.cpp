#include "text/hidden_characters.h"

#include <gtest/gtest.h>

namespace miravel {
namespace {

TEST(HiddenCharacters, HanCharactersThatGbkHoldsSimplifiedOrTraditional) {
  EXPECT_TRUE(CheckHiddenUtf8("春风花月").ok());
  EXPECT_TRUE(CheckHiddenUtf8("國").ok());
  EXPECT_TRUE(CheckHiddenGbk("\xB4\xBA\xB7\xE7").ok());  // 春风
  EXPECT_EQ(CheckHiddenUtf8("春风").count, 2u);
}

TEST(HiddenCharacters, EverythingElseIsRefusedAndNamed) {
  const struct {
    const char* utf8;
    HiddenRefusal refusal;
    std::u32string offending;
  } cases[] = {
      {"abc", HiddenRefusal::kNotHan, U"abc"},
      {"春1", HiddenRefusal::kNotHan, U"1"},
      {"春 江", HiddenRefusal::kNotHan, U" "},
      {"春\u3000江", HiddenRefusal::kNotHan, U"\u3000"},
      {"春!，", HiddenRefusal::kNotHan, U"!，"},
      {"春\U0001F600", HiddenRefusal::kNotHan, U"\U0001F600"},
      {"春\u9FD0", HiddenRefusal::kNotInGbk, U"\u9FD0"},
      {"春\U00020000", HiddenRefusal::kNotInGbk, U"\U00020000"},
      {"", HiddenRefusal::kEmpty, U""},
  };
  for (const auto& c : cases) {
    const HiddenCheck check = CheckHiddenUtf8(c.utf8);
    EXPECT_EQ(check.refusal, c.refusal) << c.utf8;
    EXPECT_EQ(std::u32string(check.offending.begin(), check.offending.end()), c.offending)
        << c.utf8;
    EXPECT_FALSE(HiddenRefusalMessage(check).empty()) << c.utf8;
  }
  EXPECT_NE(HiddenRefusalMessage(CheckHiddenUtf8("abc")).find("“a”、“b”、“c”不是汉字"),
            std::string::npos);
  EXPECT_NE(HiddenRefusalMessage(CheckHiddenUtf8("春 江")).find("空格"), std::string::npos);
}

TEST(HiddenCharacters, AtMostAHundred) {
  std::string hundred;
  for (int k = 0; k < 100; ++k) hundred += "春";
  EXPECT_TRUE(CheckHiddenUtf8(hundred).ok());
  const HiddenCheck more = CheckHiddenUtf8(hundred + "风");
  EXPECT_EQ(more.refusal, HiddenRefusal::kTooMany);
  EXPECT_NE(HiddenRefusalMessage(more).find("101"), std::string::npos);
}

TEST(HiddenCharacters, GbkBytesThatAreNoCharacter) {
  EXPECT_EQ(CheckHiddenGbk("\xB4\xBA\xB4").refusal, HiddenRefusal::kBrokenBytes);  // half of 春
  EXPECT_EQ(CheckHiddenGbk("\xB4\x20").refusal, HiddenRefusal::kBrokenBytes);
  EXPECT_EQ(CheckHiddenGbk("\xA1\xA1").refusal, HiddenRefusal::kNotHan);  // the full-width space
  // What the window could not hold in GBK reaches it as "?": say so.
  const HiddenCheck question = CheckHiddenGbk("\xB4\xBA?");
  EXPECT_EQ(question.refusal, HiddenRefusal::kNotHan);
  EXPECT_NE(HiddenRefusalMessage(question).find("表情"), std::string::npos);
}

}  // namespace
}  // namespace miravel
