#include "poemd/measure/discriminator.h"

#include <gtest/gtest.h>

#include <random>

namespace miravel::poemd {
namespace {

// Four lines of five characters drawn from `characters`.
PoemSample Poem(std::u16string_view characters, std::mt19937_64& rng) {
  PoemSample poem;
  for (int i = 0; i < 4; ++i) {
    std::u16string line;
    for (int k = 0; k < 5; ++k) line += characters[rng() % characters.size()];
    poem.lines.push_back(line);
    poem.readings.emplace_back();
  }
  return poem;
}

TEST(Discriminator, TellsTwoStylesApart) {
  std::mt19937_64 rng(1);
  std::vector<std::pair<PoemSample, PoemSample>> pairs;
  for (int k = 0; k < 400; ++k) {
    pairs.emplace_back(Poem(u"山水云天石松鹤泉", rng), Poem(u"花月春风柳燕莺桃", rng));
  }
  const DiscriminatorResult result = TrainAndTest(pairs, 7);
  EXPECT_EQ(result.train_pairs, 200u);
  EXPECT_EQ(result.test_pairs, 200u);
  EXPECT_GT(result.accuracy, 0.95);
  EXPECT_GT(result.pairwise, 0.95);
  // What gives the second style away is one of its own characters.
  ASSERT_FALSE(result.composed_tells.empty());
  const std::string tell = result.composed_tells[0].first;
  EXPECT_EQ(tell.rfind("字 ", 0), 0u) << tell;
  EXPECT_NE(std::string("花月春风柳燕莺桃").find(tell.substr(std::string("字 ").size())),
            std::string::npos)
      << tell;
}

TEST(Discriminator, GivesChanceOnTwoHalvesOfOneStyle) {
  std::mt19937_64 rng(2);
  std::vector<std::pair<PoemSample, PoemSample>> pairs;
  for (int k = 0; k < 1000; ++k) {
    pairs.emplace_back(Poem(u"山水云天花月春风", rng), Poem(u"山水云天花月春风", rng));
  }
  const DiscriminatorResult result = TrainAndTest(pairs, 7);
  EXPECT_NEAR(result.accuracy, 0.5, 0.06);
  EXPECT_NEAR(result.pairwise, 0.5, 0.08);
}

TEST(Discriminator, FeaturesAreTheSameForTheSamePoem) {
  std::mt19937_64 rng(3);
  const PoemSample poem = Poem(u"山水云天", rng);
  FeatureNames names;
  EXPECT_EQ(PoemFeatures(poem, 18, &names), PoemFeatures(poem, 18));
  EXPECT_FALSE(names.empty());
  for (const uint32_t f : PoemFeatures(poem, 10)) EXPECT_LT(f, 1u << 10);
}

}  // namespace
}  // namespace miravel::poemd
