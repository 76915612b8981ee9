// What a poem's page says it is about, in the words a reader takes in at once.
#include "poemd/serve/pages/subject_line.h"

#include <gtest/gtest.h>

namespace miravel::poemd {
namespace {

TEST(SubjectWords, AreTheFirstTitleWordsThatMakeTwoCharacters) {
  EXPECT_EQ(SubjectWords("题：中秋 七夕 月 · 夜 光 宵"), "中秋");
  EXPECT_EQ(SubjectWords("题：月 夜 玩 · 露 影 光"), "月夜");
  EXPECT_EQ(SubjectWords("题：寿 生日 诞 · 祝 公 庆"), "寿生日");
  EXPECT_EQ(SubjectWords("题：中秋"), "中秋");
  EXPECT_EQ(SubjectWords("题：送 · 别"), "送");
}

TEST(SubjectWords, AreTheMarkingCharactersWhereThereIsNoTitleWord) {
  EXPECT_EQ(SubjectWords("字：松 鹤 云"), "松鹤");
  EXPECT_EQ(SubjectWords("字：梅"), "梅");
}

TEST(SubjectWords, AreNoneForANameOfNeither) {
  EXPECT_EQ(SubjectWords(""), "");
  EXPECT_EQ(SubjectWords("中秋 七夕"), "");
  EXPECT_EQ(SubjectWords("题："), "");
}

}  // namespace
}  // namespace miravel::poemd
