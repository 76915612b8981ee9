// The measuring program's judge of what lines speak of, learned from
// made-up poems (testing/titled_poems.h): lines of one subject are close,
// of two apart; what two lines share, their rhymes and their register say
// nothing; and a quatrain's pairs are tallied as the judge reads them.
#include "poemd/measure/subject_judge.h"

#include <gtest/gtest.h>

#include "poemd/measure/line_pairs.h"
#include "poemd/testing/titled_poems.h"

namespace miravel::poemd {
namespace {

using testing::TitledPoem;

SubjectJudge Trained(const std::vector<TitledPoem>& poems) {
  SubjectJudge judge;
  for (const TitledPoem& poem : poems) judge.AddPoem(poem.lines, poem.form == Register::kCi);
  judge.Learn();
  return judge;
}

// The judge's mean closeness over the first poems' lines, of one subject
// and of two (each poem's own lines left out), optionally of ci only.
std::pair<double, double> Means(const SubjectJudge& judge, const std::vector<TitledPoem>& poems,
                                bool ci_only = false) {
  double sums[2] = {}, counts[2] = {};
  for (size_t p = 0; p < 60; ++p) {
    for (size_t q = p + 1; q < 60; ++q) {
      if (ci_only && (poems[p].form != Register::kCi || poems[q].form != Register::kCi)) continue;
      const bool same = poems[p].subject == poems[q].subject;
      if (const auto c = judge.Closeness(poems[p].lines[0], poems[q].lines[2])) {
        sums[same] += *c;
        ++counts[same];
      }
    }
  }
  return {sums[1] / counts[1], sums[0] / counts[0]};
}

TEST(SubjectJudge, LinesOfOneSubjectAreCloserThanOfTwo) {
  const std::vector<TitledPoem> poems = testing::TitledPoems(300, 21);
  const SubjectJudge judge = Trained(poems);
  const auto [same, apart] = Means(judge, poems);
  EXPECT_GT(same, apart + 0.5);
}

TEST(SubjectJudge, WhatTwoLinesShareAndTheirRhymesSayNothing) {
  const SubjectJudge judge = Trained(testing::TitledPoems(300, 21));
  // 梅雪 in both lines is read out of both: a plum-blossom line and a
  // farewell line are as far apart as without it.
  const std::optional<double> with = judge.Closeness(u"梅雪别酒帆", u"梅雪椿龄觞");
  const std::optional<double> without = judge.Closeness(u"别酒帆", u"椿龄觞");
  ASSERT_TRUE(with && without);
  EXPECT_NEAR(*with, *without, 1e-6);
  EXPECT_LT(*with, 0.3);
  // Lines that share every character, and rhymes, which stand only at the
  // ends of lines, are not read.
  EXPECT_FALSE(judge.Closeness(u"梅雪香枝寒", u"寒枝香雪梅").has_value());
  EXPECT_FALSE(judge.Closeness(u"长", u"光").has_value());
}

TEST(SubjectJudge, TheRegisterOfCiSaysNothing) {
  // A fourth of the poems are ci, in words of their own whatever their
  // subject: two ci of different subjects are no closer than two poems.
  const std::vector<TitledPoem> poems = testing::TitledPoems(600, 23, true, true);
  const SubjectJudge judge = Trained(poems);
  const auto [same, apart] = Means(judge, poems);
  const auto [same_ci, apart_ci] = Means(judge, poems, true);
  EXPECT_LT(apart_ci, apart + 0.1);
  EXPECT_GT(same_ci, apart_ci + 0.5);
}

TEST(LinePairTally, PairsByTheJudgeAndCharactersInSeveralLines) {
  const SubjectJudge judge = Trained(testing::TitledPoems(300, 21));
  LinePairTally tally;
  // Plum blossom, plum blossom, farewell, farewell: 1-2 and 3-4 close, the
  // rest apart. 春 at the head is hidden; 雪 stands in lines 1 and 2.
  tally.Add(judge, {u"春梅雪香枝", u"春寒冰疏雪", u"春别酒帆舟", u"春离柳亭路"}, 0);
  ASSERT_EQ(tally.Poems(), 1u);
  EXPECT_GT(tally.Mean(0), 0.5);
  EXPECT_GT(tally.Mean(2), 0.5);
  EXPECT_LT(tally.Mean(1), 0.2);
  for (int far = kFirstFarPair; far < kLinePairs; ++far) EXPECT_LT(tally.Mean(far), 0.2);
  EXPECT_DOUBLE_EQ(tally.InTwoLines(), 1.0);
  EXPECT_DOUBLE_EQ(tally.InThreeLines(), 0.0);
  // 春 counts where it is not the hidden character.
  tally.Add(judge, {u"梅春雪香枝", u"寒春冰疏影", u"别春酒帆舟", u"离柳亭路远"}, 0);
  EXPECT_DOUBLE_EQ(tally.InThreeLines(), 0.5);
  EXPECT_DOUBLE_EQ(OnRealScale(0.15, 0.05, 0.25), 0.5);
}

}  // namespace
}  // namespace miravel::poemd
