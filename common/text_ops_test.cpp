#include "common/text_ops.h"

#include <gtest/gtest.h>

namespace miravel {
namespace {

using namespace std::string_literals;

TEST(TextOps, TextOfStopsAtFirstZeroByte) {
  EXPECT_EQ(TextOf("ab\0cd"s), "ab");
  EXPECT_EQ(TextOf(""), "");
}

TEST(TextOps, FindIsOneBasedAndHonoursStartAndCase) {
  EXPECT_EQ(FindText("abcabc", "bc"), 2);
  EXPECT_EQ(FindText("abcabc", "bc", 3), 5);
  EXPECT_EQ(FindText("abcabc", "bc", 0), 2);
  EXPECT_EQ(FindText("abcabc", "BC"), kAbsent);
  EXPECT_EQ(FindText("abcabc", "BC", 1, true), 2);
  EXPECT_EQ(FindText("abc", "abcd"), kAbsent);
  EXPECT_EQ(FindText("abc", "c", 9), kAbsent);
}

TEST(TextOps, IgnoringCaseFoldsOnlyAsciiLetters) {
  // 0xC1 and 0xE1 differ by 0x20 like 'A' and 'a', but are not letters.
  EXPECT_EQ(FindText("\xC1", "\xE1", 1, true), kAbsent);
  EXPECT_EQ(LowerAscii("AbZ\xC1"), "abz\xC1");
}

TEST(TextOps, LeftRightMidClipToTheText) {
  EXPECT_EQ(LeftBytes("abcd", 2), "ab");
  EXPECT_EQ(LeftBytes("abcd", 9), "abcd");
  EXPECT_EQ(LeftBytes("abcd", -1), "");
  EXPECT_EQ(RightBytes("abcd", 3), "bcd");
  EXPECT_EQ(MidBytes("abcd", 2, 2), "bc");
  EXPECT_EQ(MidBytes("abcd", 4, 5), "d");
  EXPECT_EQ(MidBytes("abcd", 5, 1), "");
}

TEST(TextOps, ReplaceAllOrFirstN) {
  EXPECT_EQ(ReplaceText("a-b-c", "-", "+"), "a+b+c");
  EXPECT_EQ(ReplaceText("a-b-c", "-", "", 1), "ab-c");
  EXPECT_EQ(ReplaceText("aaa", "a", "aa"), "aaaaaa");  // no rescanning
  EXPECT_EQ(ReplaceText("abc", "", "x"), "abc");
}

TEST(TextOps, TrimBlanksAndBlankText) {
  EXPECT_EQ(TrimBlanks("  a b\t "), "a b");
  EXPECT_EQ(TrimBlanks("   "), "");
  EXPECT_EQ(BlankText(3), "   ");
  EXPECT_EQ(BlankText(-2), "");
  EXPECT_EQ(ZeroBytes(2), "\0\0"s);
  EXPECT_EQ(ZeroBytes(0), "");
}

TEST(TextOps, NumbersFromAndToText) {
  EXPECT_EQ(TextToNumber("81"), 81);
  EXPECT_EQ(TextToNumber(" 88x"), 88);
  EXPECT_EQ(TextToNumber("2.9"), 2.9);
  EXPECT_EQ(TextToNumber("x"), 0);
  EXPECT_EQ(TextToNumber(""), 0);
  EXPECT_EQ(NumberToText(-42), "-42");
}

}  // namespace
}  // namespace miravel
