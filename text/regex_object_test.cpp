#include "text/regex_object.h"

#include <gtest/gtest.h>

namespace miravel {
namespace {

TEST(RegexObject, QueriesBeforeAnySearchAreEmpty) {
  RegexObject regex;
  EXPECT_EQ(regex.GetMatchCount(), 0);
  EXPECT_EQ(regex.GetMatchText(1), "");
  EXPECT_EQ(regex.GetSubmatchText(1, 1), "");
  EXPECT_EQ(regex.GetSubmatchCount(), 0);
  EXPECT_EQ(regex.GetPattern(), "");
  EXPECT_EQ(regex.Substitute("x"), "");
}

TEST(RegexObject, NoMatchStillSucceeds) {
  RegexObject regex;
  EXPECT_TRUE(regex.Search("zzz", "abc"));
  EXPECT_EQ(regex.GetMatchCount(), 0);
}

TEST(RegexObject, PatternThatDoesNotCompile) {
  RegexObject regex;
  EXPECT_FALSE(regex.Search("(ab", "ab"));
  EXPECT_EQ(regex.GetMatchCount(), 0);
  EXPECT_EQ(regex.GetPattern(), "(ab");
  EXPECT_EQ(regex.Substitute("x"), "");
}

TEST(RegexObject, DefaultsIgnoreCaseAnchorEveryLineAndCollectAll) {
  RegexObject regex;
  regex.Search("^ab", "AB1\r\naB2\nxab");
  EXPECT_EQ(regex.GetMatchCount(), 2);
  EXPECT_EQ(regex.GetMatchText(1), "AB");
  EXPECT_EQ(regex.GetMatchText(2), "aB");
  regex.Search("\\d$", "a1\r\nb2\nc3");
  EXPECT_EQ(regex.GetMatchCount(), 3);
}

TEST(RegexObject, OptionsTurnDefaultsOff) {
  RegexObject regex;
  regex.Search("ab", "AB ab ab", {.case_sensitive = true});
  EXPECT_EQ(regex.GetMatchCount(), 2);
  regex.Search("^ab", "ab\nab", {.multi_line = false});
  EXPECT_EQ(regex.GetMatchCount(), 1);
  regex.Search("ab", "ab ab", {.global = false});
  EXPECT_EQ(regex.GetMatchCount(), 1);
}

TEST(RegexObject, LazyGroupNeverCrossesALineBreak) {
  RegexObject regex;
  regex.Search("<li>(.*?)</li>", "<li>a\r\nb</li><li>c</li>");
  ASSERT_EQ(regex.GetMatchCount(), 1);
  EXPECT_EQ(regex.GetSubmatchText(1, 1), "c");
  regex.Search("a.b", "a\rb a\nb");
  EXPECT_EQ(regex.GetMatchCount(), 0);
}

TEST(RegexObject, GroupsInMatchOrderOneBased) {
  RegexObject regex;
  regex.Search("(\\w)=(\\d)", "a=1 b=2 c=3");
  ASSERT_EQ(regex.GetMatchCount(), 3);
  EXPECT_EQ(regex.GetSubmatchCount(), 2);
  EXPECT_EQ(regex.GetSubmatchText(1, 1), "a");
  EXPECT_EQ(regex.GetSubmatchText(2, 2), "2");
  EXPECT_EQ(regex.GetSubmatchText(3, 1), "c");
  EXPECT_EQ(regex.GetMatchText(3), "c=3");
}

TEST(RegexObject, NumbersOutOfRangeGiveEmptyText) {
  RegexObject regex;
  regex.Search("(a)(b)?", "a");
  EXPECT_EQ(regex.GetSubmatchText(1, 2), "");  // took no part
  EXPECT_EQ(regex.GetSubmatchText(1, 3), "");
  EXPECT_EQ(regex.GetSubmatchText(1, 0), "");
  EXPECT_EQ(regex.GetSubmatchText(0, 1), "");
  EXPECT_EQ(regex.GetSubmatchText(2, 1), "");
  EXPECT_EQ(regex.GetMatchText(-1), "");
}

TEST(RegexObject, SecondSearchReplacesTheFirst) {
  RegexObject regex;
  regex.Search("a", "aaa");
  regex.Search("b(c)", "bc");
  EXPECT_EQ(regex.GetMatchCount(), 1);
  EXPECT_EQ(regex.GetSubmatchText(1, 1), "c");
  EXPECT_EQ(regex.GetPattern(), "b(c)");
  EXPECT_EQ(regex.Substitute("x"), "x");
}

TEST(RegexObject, SubstituteFollowsGlobalAndKeepsTheSubject) {
  RegexObject regex;
  regex.Search("(\\d)", "a1b2");
  EXPECT_EQ(regex.Substitute("<$1>"), "a<1>b<2>");
  EXPECT_EQ(regex.GetMatchText(2), "2");
  regex.Search("\\d", "a1b2", {.global = false});
  EXPECT_EQ(regex.Substitute("#"), "a#b2");
}

TEST(RegexObject, GbkTextsInAndOut) {
  RegexObject regex;
  // <li>中国</li>: the group comes back as the same GBK bytes.
  regex.Search("<li>(.*?)</li>", "<li>\xD6\xD0\xB9\xFA</li>");
  EXPECT_EQ(regex.GetSubmatchText(1, 1), "\xD6\xD0\xB9\xFA");
  // The pattern "国" matches one character, not a byte pair across two.
  regex.Search("\xB9\xFA", "\xD6\xD0\xB9\xFA");
  EXPECT_EQ(regex.GetMatchCount(), 1);
}

TEST(RegexObject, TrailByteThatLooksLikeALetterIsNotOne) {
  RegexObject regex;
  regex.Search("a", "\x81\x41\x81\x61");  // two characters with trail bytes 'A' and 'a'
  EXPECT_EQ(regex.GetMatchCount(), 0);
}

TEST(RegexObject, PositionsAreOffsetsOfTheTextInTheSubject) {
  RegexObject regex;
  regex.Search("b(c)", "abcabc");
  int position = -99;
  EXPECT_EQ(regex.GetMatchText(2, &position), "bc");
  EXPECT_EQ(position, 4);
  EXPECT_EQ(regex.GetSubmatchText(1, 1, &position), "c");
  EXPECT_EQ(position, 2);
}

TEST(RegexObject, ArbitraryBytesNeverBreakIt) {
  RegexObject regex;
  const std::string junk("\0\xFF\x80<li>\xA1\n\0<font", 16);
  EXPECT_TRUE(regex.Search("<li>(.*?)</li>", junk));
  EXPECT_EQ(regex.GetMatchCount(), 0);
  const std::string open_item = "<li>" + std::string(1 << 20, 'x');
  EXPECT_TRUE(regex.Search("<li>(.*?)</li>", open_item));
  EXPECT_EQ(regex.GetMatchCount(), 0);
}

}  // namespace
}  // namespace miravel
