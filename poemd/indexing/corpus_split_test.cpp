#include "poemd/indexing/corpus_split.h"

#include <gtest/gtest.h>

namespace miravel::poemd {
namespace {

PoemText Poem(int k, Collection collection = Collection::kTangSongShi) {
  PoemText poem;
  poem.title = "题" + std::to_string(k);
  poem.author = "某";
  poem.collection = collection;
  poem.paragraphs = {"春来山色好，春去水流长。", "春夜听江雨，春光照画堂。"};
  return poem;
}

const std::vector<std::u16string> kQuatrain = {u"春来山色好", u"春去水流长", u"春夜听江雨",
                                               u"春光照画堂"};

TEST(CorpusSplit, ATenthOfTheQuatrainsIsHeldOutAndAQuarterOfTheRestJudges) {
  int held_out = 0, judge = 0, index = 0;
  constexpr int kPoems = 20000;
  for (int k = 0; k < kPoems; ++k) {
    switch (PartOf(Poem(k), kQuatrain)) {
      case SplitPart::kHeldOut:
        ++held_out;
        break;
      case SplitPart::kJudge:
        ++judge;
        break;
      case SplitPart::kIndex:
        ++index;
        break;
    }
  }
  EXPECT_NEAR(held_out / double(kPoems), 0.10, 0.01);
  EXPECT_NEAR(judge / double(judge + index), 0.25, 0.015);
}

TEST(CorpusSplit, OnlyRealQuatrainsAreHeldOutAndAPoemAlwaysFallsAlike) {
  const std::vector<std::u16string> eight(8, u"春来山色好");
  const std::vector<std::u16string> mixed = {u"春来山色好", u"春去水流长", u"春夜听江雨",
                                             u"春光照画堂人"};
  for (int k = 0; k < 2000; ++k) {
    EXPECT_NE(PartOf(Poem(k, Collection::kCi), kQuatrain), SplitPart::kHeldOut);
    EXPECT_NE(PartOf(Poem(k), eight), SplitPart::kHeldOut);
    EXPECT_NE(PartOf(Poem(k), mixed), SplitPart::kHeldOut);
    EXPECT_EQ(PartOf(Poem(k), kQuatrain), PartOf(Poem(k), kQuatrain));
  }
  EXPECT_TRUE(IsRealQuatrain(Poem(0), kQuatrain));
  EXPECT_FALSE(IsRealQuatrain(Poem(0), {u"春来山色好", u"", u"春夜听江雨", u"春光照画堂"}));
}

}  // namespace
}  // namespace miravel::poemd
