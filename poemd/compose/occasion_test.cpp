// What a poem is for: found from the hidden characters and the theme, and
// what it asks of the lines.
#include "poemd/compose/occasion.h"

#include <gtest/gtest.h>

#include <set>

#include "poemd/compose/poem_composer.h"
#include "poemd/compose/terms/occasion_term.h"
#include "poemd/indexing/corpus_index_builder.h"
#include "poemd/testing/testing_corpus.h"

namespace miravel::poemd {
namespace {

using testing::Shi;

TEST(Occasion, IsFoundFromWishesNamesAndTheTheme) {
  EXPECT_EQ(OccasionOf(u"生日快乐", u""), Occasion::kBirthday);
  EXPECT_EQ(OccasionOf(u"爷爷福寿安康", u""), Occasion::kBirthday);
  EXPECT_EQ(OccasionOf(u"王芳新婚快乐", u""), Occasion::kWedding);
  EXPECT_EQ(OccasionOf(u"陈静永远爱你", u""), Occasion::kWedding);
  // Wishes for a couple that name no wedding.
  EXPECT_EQ(OccasionOf(u"花好月圆", u""), Occasion::kWedding);
  EXPECT_EQ(OccasionOf(u"天长地久", u""), Occasion::kWedding);
  EXPECT_EQ(OccasionOf(u"新年快乐", u""), Occasion::kFestival);
  EXPECT_EQ(OccasionOf(u"开业大吉", u""), Occasion::kFestival);
  // A parting before the wish for peace it holds.
  EXPECT_EQ(OccasionOf(u"一路平安", u""), Occasion::kFarewell);
  EXPECT_EQ(OccasionOf(u"怀念外婆", u""), Occasion::kRemembrance);
  EXPECT_EQ(OccasionOf(u"妈妈我爱你", u""), Occasion::kPraise);
  // A name alone is a gift to its bearer.
  EXPECT_EQ(OccasionOf(u"李娜", u""), Occasion::kPraise);
  EXPECT_EQ(OccasionOf(u"欧阳修文", u""), Occasion::kPraise);
  EXPECT_EQ(OccasionOf(u"春夏秋冬", u""), Occasion::kNone);
  EXPECT_EQ(OccasionOf(u"春夏秋冬", u"祝寿"), Occasion::kBirthday);
  EXPECT_EQ(Resolve(Occasion::kNone, u"生日快乐", u""), Occasion::kNone);
  EXPECT_EQ(Resolve(Occasion::kAutomatic, u"生日快乐", u""), Occasion::kBirthday);
}

TEST(Occasion, KeysAndNamesRoundTrip) {
  for (int k = 0; k < kOccasions; ++k) {
    const auto occasion = static_cast<Occasion>(k);
    EXPECT_EQ(OccasionFromKey(OccasionKey(occasion)), occasion);
    EXPECT_FALSE(OccasionName(occasion).empty());
  }
  EXPECT_FALSE(OccasionFromKey("funeral"));
}

TEST(Occasion, AGuardWordRefusesALineForAHappyOccasionButNotTheHiddenCharacter) {
  const LineTraits ordinary;
  EXPECT_TRUE(FitOf(Occasion::kBirthday, ordinary, u"白骨满山川", 0).refused);
  EXPECT_TRUE(FitOf(Occasion::kWedding, ordinary, u"春风吹墓门", 0).refused);
  EXPECT_FALSE(FitOf(Occasion::kNone, ordinary, u"春风吹墓门", 0).refused);
  // A monk's death is a death: not in 花好月圆, where 圆 is hidden at the head.
  EXPECT_TRUE(FitOf(Occasion::kWedding, ordinary, u"圆寂十朝前", 0).refused);
  // The asker hid 病 there: it is theirs.
  EXPECT_FALSE(FitOf(Occasion::kBirthday, ordinary, u"病起见春风", 0).refused);
  EXPECT_TRUE(FitOf(Occasion::kBirthday, ordinary, u"病起见春风", 2).refused);
  EXPECT_FALSE(FitOf(Occasion::kBirthday, ordinary, u"春风满画堂", 0).refused);
}

TEST(Occasion, AWordOfGriefNoMoodCatchesSpoilsAHappyPoemButNotAParting) {
  // A line whose moods are ordinary: 愁 is in every kind of poem.
  const LineTraits ordinary;
  for (const Occasion happy :
       {Occasion::kBirthday, Occasion::kWedding, Occasion::kFestival, Occasion::kPraise}) {
    EXPECT_TRUE(FitOf(happy, ordinary, u"岁晚浓愁催白发", 0).refused) << OccasionKey(happy);
    EXPECT_TRUE(FitOf(happy, ordinary, u"离恨初逢节", 0).refused) << OccasionKey(happy);
  }
  EXPECT_FALSE(FitOf(Occasion::kFarewell, ordinary, u"离恨初逢节", 0).refused);
  EXPECT_FALSE(FitOf(Occasion::kNone, ordinary, u"离恨初逢节", 0).refused);
  // Hidden by the asker, it is theirs.
  EXPECT_FALSE(FitOf(Occasion::kBirthday, ordinary, u"愁来登高台", 0).refused);
}

// What the occasion term prefers of a line, by the tuned weights.
float Preference(Occasion occasion, const LineTraits& traits, std::u16string_view text) {
  const Weights weights;
  LineView line;
  line.text = text;
  line.traits = &traits;
  return OccasionTerm(weights, occasion).Weigh(line).preference;
}

TEST(Occasion, LinesInKeepingArePreferredAndJoyIsRefusedInRemembrance) {
  LineTraits joyful;
  joyful.moods.Set(Mood::kJoy, kMoodLevels);
  LineTraits mournful;
  mournful.moods.Set(Mood::kDeath, kMoodLevels);
  const std::u16string_view text = u"春风满画堂";
  EXPECT_GT(Preference(Occasion::kBirthday, joyful, text),
            Preference(Occasion::kBirthday, LineTraits{}, text));
  EXPECT_TRUE(FitOf(Occasion::kBirthday, mournful, text, 0).refused);
  EXPECT_FALSE(FitOf(Occasion::kRemembrance, mournful, text, 0).refused);
  EXPECT_TRUE(FitOf(Occasion::kRemembrance, joyful, text, 0).refused);
  EXPECT_GT(Preference(Occasion::kRemembrance, mournful, text),
            Preference(Occasion::kRemembrance, LineTraits{}, text));
  // A line more sorrowful than not (a 闲愁, say) is no gift, though a
  // parting or a poem for no occasion may hold it.
  LineTraits sad;
  sad.moods.Set(Mood::kSorrow, kMoodLevels * 3 / 5);
  EXPECT_TRUE(FitOf(Occasion::kWedding, sad, text, 0).refused);
  EXPECT_FALSE(FitOf(Occasion::kFarewell, sad, text, 0).refused);
  EXPECT_FALSE(FitOf(Occasion::kNone, sad, text, 0).refused);
}

// Two lines alike by every rule, each alone in its poem: one from a
// mourning poem, one from a poem of spring.
CorpusIndex MourningAndSpring() {
  CorpusIndexBuilder builder;
  builder.AddPoem(Shi("挽张公", "甲", {"春风吹柳絮"}));
  builder.AddPoem(Shi("春日", "乙", {"春风拂柳叶"}));
  builder.AddPoem(Shi("山行", "丙", {"远上寒山石"}));
  builder.AddPoem(Shi("江村", "丁", {"清江一曲抱"}));
  return builder.Build();
}

TEST(Occasion, InABirthdayPoemALineOfAnElegyLosesToALineAlikeByEveryRule) {
  const CorpusIndex index = MourningAndSpring();
  PoemOrder order = testing::OrderFor(u"春", 5, Place::kHead);
  std::set<std::u16string> without, birthday;
  // A subject would choose between the two poems by itself: only chance
  // and the occasion are left to.
  ComposeOptions options;
  options.weights.subject = 0;
  options.weights.one_subject = 0;
  for (uint64_t seed = 1; seed <= 40; ++seed) {
    options.seed = seed;
    order.occasion = Occasion::kNone;
    without.insert(ComposePoem(index, order, options).lines.at(0).text);
    order.occasion = Occasion::kBirthday;
    const Poem poem = ComposePoem(index, order, options);
    EXPECT_EQ(poem.occasion, Occasion::kBirthday);
    birthday.insert(poem.lines.at(0).text);
  }
  // With no occasion chance chooses between them; for a birthday the
  // elegy's line never comes.
  EXPECT_EQ(without, (std::set<std::u16string>{u"春风吹柳絮", u"春风拂柳叶"}));
  EXPECT_EQ(birthday, (std::set<std::u16string>{u"春风拂柳叶"}));
}

}  // namespace
}  // namespace miravel::poemd
