#include "composer/poem_request.h"

#include <gtest/gtest.h>

#include "common/headless_event_pump.h"
#include "composer/gbk_literal.h"

namespace miravel {
namespace {

class PoemRequestTest : public ::testing::Test {
 protected:
  PoemRequest Build(const char* form, const char* place, const char* rhyme, const Text& chars) {
    return BuildPoemRequest(Gbk(form), Gbk(place), Gbk(rhyme), chars, pump_);
  }
  HeadlessEventPump pump_;
};

TEST_F(PoemRequestTest, EmptyCharactersWithFirstItems) {
  const PoemRequest request = Build("五言绝句", "藏头", "两句一押", "");
  EXPECT_EQ(request.body, "xing=&gender=5&type_str=&classid=0&num=cangtou&limit=100");
  EXPECT_EQ(request.hide_mode, "cangtou");
}

TEST_F(PoemRequestTest, EachComboChoice) {
  EXPECT_EQ(Build("七言律诗", "藏中", "双句押韵", "").body,
            "xing=&gender=7&type_str=&classid=0&num=cangzhong&limit=200");
  const PoemRequest tail = Build("五言绝句", "藏尾", "一三四押", "");
  EXPECT_EQ(tail.body, "xing=&gender=5&type_str=&classid=0&num=cangwei&limit=200");
  EXPECT_EQ(tail.hide_mode, "cangwei");
  EXPECT_EQ(Build("五言绝句", "藏中", "两句一押", "").hide_mode, "cangzhong");
}

TEST_F(PoemRequestTest, TextsMatchingNoItemFallToTheLastRule) {
  EXPECT_EQ(Build("", "", "", "").body, "xing=&gender=7&type_str=&classid=0&num=cangwei&limit=200");
  // No trimming: a trailing blank is another text.
  EXPECT_EQ(BuildPoemRequest(Gbk("五言绝句 "), Gbk("藏头 "), Gbk("两句一押 "), "", pump_).body,
            "xing=&gender=7&type_str=&classid=0&num=cangwei&limit=200");
}

TEST_F(PoemRequestTest, CharactersEscapedByteByByte) {
  EXPECT_EQ(Build("五言绝句", "藏头", "两句一押", "A1").body,
            "xing=%41%31&gender=5&type_str=&classid=0&num=cangtou&limit=100");
  EXPECT_EQ(Build("五言绝句", "藏头", "两句一押", Gbk("春风")).body,
            "xing=%B4%BA%B7%E7&gender=5&type_str=&classid=0&num=cangtou&limit=100");
}

}  // namespace
}  // namespace miravel
