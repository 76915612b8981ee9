#include "poemd/measure/coherence_judge.h"

#include <gtest/gtest.h>

namespace miravel::poemd {
namespace {

// Mountains go with rivers and flowers with moons, line after line; the
// pairs the judge never saw together score below those it did.
CoherenceJudge Trained() {
  CoherenceJudge judge(50);
  const std::vector<std::pair<std::u16string, std::u16string>> pairs = {
      {u"山高", u"水长"}, {u"山青", u"水绿"}, {u"花开", u"月明"}, {u"花落", u"月残"}};
  for (int round = 0; round < 20; ++round) {
    for (const auto& [a, b] : pairs) {
      judge.SeeLine(a);
      judge.SeeLine(b);
    }
  }
  for (int round = 0; round < 20; ++round) {
    for (const auto& [a, b] : pairs) judge.SeePair(a, b);
  }
  return judge;
}

TEST(CoherenceJudge, PairsSeenTogetherScoreAbovePairsNeverSeen) {
  const CoherenceJudge judge = Trained();
  EXPECT_GT(judge.Pair(u"山", u"水"), 0.5);
  EXPECT_LT(judge.Pair(u"山", u"月"), 0.0);
  EXPECT_GT(judge.Pair(u"山", u"水"), judge.Pair(u"花", u"水"));
  // Symmetric: the counts run both ways.
  EXPECT_DOUBLE_EQ(judge.Pair(u"山", u"水"), judge.Pair(u"水", u"山"));
}

TEST(CoherenceJudge, APoemScoresTheMeanOfItsConsecutivePairs) {
  const CoherenceJudge judge = Trained();
  const std::vector<std::u16string> poem = {u"山高", u"水长", u"花开", u"月明"};
  const double mean =
      (judge.Pair(u"山高", u"水长") + judge.Pair(u"水长", u"花开") + judge.Pair(u"花开", u"月明")) /
      3;
  EXPECT_DOUBLE_EQ(judge.Poem(poem), mean);
  EXPECT_EQ(judge.Poem({u"山高"}), 0.0);
}

TEST(CoherenceJudge, CharactersBeyondItsVocabularyAreLeftOut) {
  const CoherenceJudge judge = Trained();
  EXPECT_EQ(judge.Pair(u"龘", u"水"), 0.0);
  EXPECT_DOUBLE_EQ(judge.Pair(u"山龘", u"水"), judge.Pair(u"山", u"水"));
  const CoherenceJudge untrained;
  EXPECT_EQ(untrained.Pair(u"山", u"水"), 0.0);
}

}  // namespace
}  // namespace miravel::poemd
