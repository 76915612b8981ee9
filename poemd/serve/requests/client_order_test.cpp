#include "poemd/serve/requests/client_order.h"

#include <gtest/gtest.h>

namespace miravel::poemd {
namespace {

TEST(ParsePoemOrder, TheClientsBody) {
  const StatusOr<PoemOrder> parsed =
      ParsePoemOrder("xing=%B4%BA%B7%E7&gender=7&type_str=&classid=0&num=cangzhong&limit=200");
  ASSERT_TRUE(parsed.ok()) << parsed.status().message();
  EXPECT_EQ(parsed->characters, u"春风");
  EXPECT_EQ(parsed->length, 7);
  EXPECT_EQ(parsed->place, Place::kMiddle);
  EXPECT_TRUE(parsed->first_line_rhymes);
}

TEST(ParsePoemOrder, FieldsInAnyOrderAndOnlyHanCharacters) {
  const StatusOr<PoemOrder> parsed =
      ParsePoemOrder("limit=100&num=cangwei&gender=5&xing=%B4%BA%B7%E7");
  ASSERT_TRUE(parsed.ok()) << parsed.status().message();
  EXPECT_EQ(parsed->characters.size(), 2u);
  EXPECT_EQ(parsed->place, Place::kTail);
  EXPECT_FALSE(parsed->first_line_rhymes);
  const StatusOr<PoemOrder> ascii = ParsePoemOrder("limit=100&num=cangwei&gender=5&xing=A%31");
  EXPECT_EQ(ascii.status().code(), StatusCode::kInvalidArgument);
  EXPECT_NE(ascii.status().message().find("不是汉字"), std::string::npos);
}

TEST(ParsePoemOrder, RefusesBadFields) {
  const char* const bad[] = {
      "gender=5&num=cangtou&limit=100",              // no xing
      "xing=%B4%BA&gender=6&num=cangtou&limit=100",  // gender
      "xing=%B4%BA&gender=5&num=middle&limit=100",   // num
      "xing=%B4%BA&gender=5&num=cangtou&limit=300",  // limit
      "xing=&gender=5&num=cangtou&limit=100",        // nothing to hide
      "xing=%B4&gender=5&num=cangtou&limit=100",     // lead byte alone
      "xing=%B4%20&gender=5&num=cangtou&limit=100",  // bad trail byte
      "xing=%FF%FF&gender=5&num=cangtou&limit=100",  // no GBK character
      "xing=%0A&gender=5&num=cangtou&limit=100",     // a control
      "xing=%G1&gender=5&num=cangtou&limit=100",     // malformed escape
  };
  for (const char* body : bad) {
    const StatusOr<PoemOrder> parsed = ParsePoemOrder(body);
    EXPECT_EQ(parsed.status().code(), StatusCode::kInvalidArgument) << body;
    EXPECT_FALSE(parsed.status().message().empty()) << body;
  }
}

TEST(ParsePoemOrder, AtMostAHundredCharacters) {
  std::string xing;
  for (int i = 0; i < 100; ++i) xing += "%B4%BA";  // 春
  EXPECT_TRUE(ParsePoemOrder("xing=" + xing + "&gender=5&num=cangtou&limit=100").ok());
  const StatusOr<PoemOrder> more =
      ParsePoemOrder("xing=" + xing + "%B7%E7&gender=5&num=cangtou&limit=100");
  ASSERT_FALSE(more.ok());
  EXPECT_NE(more.status().message().find("最多可藏 100 个字，你输入了 101 个"), std::string::npos)
      << more.status().message();
}

TEST(ParsePoemOrder, EachRefusalOfTheCharactersSaysItsOwnReason) {
  const std::pair<const char*, const char*> cases[] = {
      {"%B4", "半个汉字"},         // a lead byte alone
      {"%B4%BA%0A", "控制符"},     // a control is a character, not broken bytes
      {"%B4%BAA", "“A”不是汉字"},  // a letter
      {"", "请输入要藏的字"},
  };
  for (const auto& [xing, reason] : cases) {
    const StatusOr<PoemOrder> parsed =
        ParsePoemOrder(std::string("xing=") + xing + "&gender=5&num=cangtou&limit=100");
    ASSERT_FALSE(parsed.ok()) << xing;
    EXPECT_NE(parsed.status().message().find(reason), std::string::npos)
        << xing << ": " << parsed.status().message();
  }
}

TEST(ParsePoemOrder, ThemeWordsKeepTheirChineseCharactersOnly) {
  const StatusOr<PoemOrder> parsed =
      ParsePoemOrder("xing=%B4%BA&gender=5&num=cangtou&limit=100&type_str=%C7%EF+ab%D2%B9");
  ASSERT_TRUE(parsed.ok()) << parsed.status().message();
  EXPECT_EQ(parsed->theme, u"秋夜");
  EXPECT_EQ(
      ParsePoemOrder("xing=%B4%BA&gender=5&num=cangtou&limit=100&type_str=%C7").status().message(),
      "type_str: not valid GBK text");
}

}  // namespace
}  // namespace miravel::poemd
