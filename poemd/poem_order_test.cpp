#include "poemd/poem_order.h"

#include <gtest/gtest.h>

namespace miravel::poemd {
namespace {

TEST(DecodeFormBody, EscapesPlusAndAnyOrder) {
  const auto fields = DecodeFormBody("b=x+y&a=%D6%d0&empty=&flag&a=second");
  ASSERT_TRUE(fields.has_value());
  EXPECT_EQ(fields->at("a"), "\xD6\xD0");
  EXPECT_EQ(fields->at("b"), "x y");
  EXPECT_EQ(fields->at("empty"), "");
  EXPECT_EQ(fields->at("flag"), "");
}

TEST(DecodeFormBody, MalformedEscapes) {
  EXPECT_FALSE(DecodeFormBody("a=%").has_value());
  EXPECT_FALSE(DecodeFormBody("a=%4").has_value());
  EXPECT_FALSE(DecodeFormBody("a=%zz").has_value());
  EXPECT_TRUE(DecodeFormBody("").has_value());
}

TEST(ParsePoemOrder, TheClientsBody) {
  const OrderOrError parsed =
      ParsePoemOrder("xing=%B4%BA%B7%E7&gender=7&type_str=&classid=0&num=cangzhong&limit=200");
  ASSERT_TRUE(parsed.order.has_value()) << parsed.error;
  ASSERT_EQ(parsed.order->characters.size(), 2u);
  EXPECT_EQ(parsed.order->characters[0].unicode, u'春');
  EXPECT_EQ(parsed.order->characters[1].gbk, "\xB7\xE7");
  EXPECT_EQ(parsed.order->length, 7);
  EXPECT_EQ(parsed.order->place, Place::kMiddle);
  EXPECT_TRUE(parsed.order->first_line_rhymes);
}

TEST(ParsePoemOrder, FieldsInAnyOrderAndAsciiCharacters) {
  const OrderOrError parsed = ParsePoemOrder("limit=100&num=cangwei&gender=5&xing=A%31");
  ASSERT_TRUE(parsed.order.has_value()) << parsed.error;
  EXPECT_EQ(parsed.order->characters.size(), 2u);
  EXPECT_EQ(parsed.order->place, Place::kTail);
  EXPECT_FALSE(parsed.order->first_line_rhymes);
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
    const OrderOrError parsed = ParsePoemOrder(body);
    EXPECT_FALSE(parsed.order.has_value()) << body;
    EXPECT_FALSE(parsed.error.empty()) << body;
  }
}

TEST(ParsePoemOrder, AtMostAHundredCharacters) {
  std::string xing;
  for (int i = 0; i < 100; ++i) xing += "%B4%BA";
  EXPECT_TRUE(ParsePoemOrder("xing=" + xing + "&gender=5&num=cangtou&limit=100").order);
  EXPECT_FALSE(ParsePoemOrder("xing=" + xing + "A&gender=5&num=cangtou&limit=100").order);
}

}  // namespace
}  // namespace miravel::poemd
