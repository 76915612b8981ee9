// Parallel couplets learned from made-up 律诗 whose middle couplets answer
// each other word for word and whose first and last couplets do not.
#include "poemd/indexing/parallel_learner.h"

#include <gtest/gtest.h>

#include <random>

#include "poemd/index/parallel_model.h"

namespace miravel::poemd {
namespace {

// Pairs that answer each other, position by position.
constexpr std::u16string_view kFirst = u"山红春明清高天花";
constexpr std::u16string_view kSecond = u"水绿秋暗浊低地草";

std::u16string Random(std::mt19937& rng) {
  std::u16string line;
  for (int k = 0; k < 5; ++k) line += (k % 2 ? kFirst : kSecond)[rng() % kFirst.size()];
  return line;
}

// A line and its parallel answer.
std::pair<std::u16string, std::u16string> Parallel(std::mt19937& rng) {
  std::u16string a, b;
  for (int k = 0; k < 5; ++k) {
    const size_t pick = rng() % kFirst.size();
    a += kFirst[pick];
    b += kSecond[pick];
  }
  return {a, b};
}

TEST(ParallelLearner, MiddleCoupletsAreLearnedFromTheFormAlone) {
  std::mt19937 rng(11);
  ParallelLearner learner;
  for (int poem = 0; poem < 400; ++poem) {
    std::vector<std::u16string> lines;
    for (int couplet = 0; couplet < 4; ++couplet) {
      if (couplet == 1 || couplet == 2) {
        auto [a, b] = Parallel(rng);
        lines.push_back(a);
        lines.push_back(b);
      } else {
        lines.push_back(Random(rng));
        lines.push_back(Random(rng));
      }
    }
    learner.AddPoem(lines);
  }
  // Not a 律诗: ignored.
  learner.AddPoem({u"山红春明清", u"水绿秋暗浊"});
  EXPECT_EQ(learner.Poems(), 400u);
  const LearnedParallel learned = learner.Learn({}, 3);
  EXPECT_GT(learner.HeldOutMiddleParallel(), 0.9);
  EXPECT_LT(learner.HeldOutOuterParallel(), 0.2);
  const ParallelModel model(learned.weights, learned.classes);
  EXPECT_GT(model.Probability(u"山红春明清", u"水绿秋暗浊"), 0.8f);
  EXPECT_LT(model.Probability(u"山红春明清", u"绿水暗秋浊"), 0.5f);
  // Lines of other lengths are not couplets of one another.
  EXPECT_EQ(model.Score(u"山红春明清", u"水绿秋暗浊草"), 0.0f);
}

}  // namespace
}  // namespace miravel::poemd
