#include "poemd/http/form_body.h"

#include <gtest/gtest.h>

namespace miravel::poemd {
namespace {

TEST(DecodeFormBody, EscapesPlusAndAnyOrder) {
  const auto fields = DecodeFormBody("b=x+y&a=%D6%d0&empty=&flag&a=second");
  ASSERT_TRUE(fields.ok());
  EXPECT_EQ(fields->at("a"), "\xD6\xD0");
  EXPECT_EQ(fields->at("b"), "x y");
  EXPECT_EQ(fields->at("empty"), "");
  EXPECT_EQ(fields->at("flag"), "");
}

TEST(DecodeFormBody, MalformedEscapes) {
  for (const char* body : {"a=%", "a=%4", "a=%zz", "%G1=x"}) {
    const auto fields = DecodeFormBody(body);
    EXPECT_FALSE(fields.ok()) << body;
    EXPECT_EQ(fields.status().code(), StatusCode::kInvalidArgument) << body;
  }
  EXPECT_TRUE(DecodeFormBody("").ok());
}

TEST(PercentEncode, RoundTripsEveryByte) {
  std::string all;
  for (int c = 0; c < 256; ++c) all += static_cast<char>(c);
  const std::string encoded = PercentEncode(all);
  EXPECT_EQ(encoded.find_first_not_of(
                "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_.~%"),
            std::string::npos);
  const auto decoded = DecodeFormBody("x=" + encoded);
  ASSERT_TRUE(decoded.ok());
  EXPECT_EQ(decoded->at("x"), all);
}

}  // namespace
}  // namespace miravel::poemd
