// What poems are for, learned from made-up titled poems: titles read, the
// mourning poems held back found by their words alone, images chosen.
#include "poemd/indexing/mood_learner.h"

#include <gtest/gtest.h>

#include <random>

namespace miravel::poemd {
namespace {

TEST(MoodOfTitle, TitlesSayWhatTheirPoemsAreFor) {
  EXPECT_EQ(MoodOfTitle(u"挽张丞相"), MoodClass::kMourning);
  EXPECT_EQ(MoodOfTitle(u"哭孟浩然"), MoodClass::kMourning);
  EXPECT_EQ(MoodOfTitle(u"病中书怀"), MoodClass::kIllness);
  EXPECT_EQ(MoodOfTitle(u"寿王母"), MoodClass::kBirthday);
  EXPECT_EQ(MoodOfTitle(u"贺新婚"), MoodClass::kWedding);
  EXPECT_EQ(MoodOfTitle(u"送杜少府之任蜀州"), MoodClass::kParting);
  EXPECT_EQ(MoodOfTitle(u"除夕"), MoodClass::kFestival);
  EXPECT_EQ(MoodOfTitle(u"秋夜寄丘员外"), MoodClass::kLonging);
  EXPECT_EQ(MoodOfTitle(u"山居秋暝"), MoodClass::kOther);
  EXPECT_EQ(MoodOfTitle(u"叹老"), MoodClass::kDecline);
  EXPECT_EQ(MoodOfTitle(u"贫居"), MoodClass::kPoverty);
  EXPECT_EQ(MoodOfTitle(u"卧疾"), MoodClass::kIllness);
  EXPECT_EQ(MoodOfTitle(u"悲秋"), MoodClass::kSorrow);
  EXPECT_TRUE(CountsTo(MoodClass::kDecline, Mood::kDeath));
  EXPECT_TRUE(CountsTo(MoodClass::kPoverty, Mood::kSorrow));
}

// Lines of five characters drawn from `words`.
std::vector<std::u16string> Lines(std::u16string_view words, size_t count, std::mt19937& rng) {
  std::vector<std::u16string> lines;
  for (size_t k = 0; k < count; ++k) {
    std::u16string line;
    for (int c = 0; c < 5; ++c) line += words[rng() % words.size()];
    lines.push_back(line);
  }
  return lines;
}

TEST(MoodLearner, FindsTheMourningPoemsItDidNotSee) {
  // Mourning poems speak of tears and graves; the others of hills and
  // rivers; both share the common words.
  const std::u16string_view mourning = u"泪坟哭魂哀墓悲泣丧君人不一";
  const std::u16string_view ordinary = u"山水云月花江风春鸟松君人不一";
  std::mt19937 rng(7);
  MoodLearner learner;
  std::vector<std::vector<std::u16string>> unseen_mourning, unseen_ordinary;
  for (int k = 0; k < 300; ++k) {
    const bool mourns = k % 3 == 0;
    const bool held_out = k % 10 == 9;
    std::vector<std::u16string> poem = Lines(mourns ? mourning : ordinary, 8, rng);
    learner.AddPoem(mourns ? MoodClass::kMourning : MoodClass::kOther, poem, held_out);
    if (held_out) (mourns ? unseen_mourning : unseen_ordinary).push_back(poem);
  }
  learner.Learn(2026);
  ASSERT_FALSE(unseen_mourning.empty());
  ASSERT_FALSE(unseen_ordinary.empty());
  // A poem speaks of death when its lines mostly do.
  const auto death = [&](const std::vector<std::u16string>& poem) {
    float sum = 0;
    for (const std::u16string& line : poem) sum += learner.Probability(line, Mood::kDeath);
    return sum / static_cast<float>(poem.size());
  };
  for (const auto& poem : unseen_mourning) EXPECT_GT(death(poem), 0.5f);
  for (const auto& poem : unseen_ordinary) EXPECT_LT(death(poem), 0.5f);
  // The report says so.
  EXPECT_NE(learner.Report().find("found 100.0%"), std::string::npos) << learner.Report();
  // A line of an elegy belongs to the elegy whatever it speaks of; a line
  // of grief needs no title.
  EXPECT_GE(learner.LineMoods(u"山水云月花", MoodClass::kMourning).Level(Mood::kDeath), 10);
  EXPECT_LE(learner.LineMoods(u"山水云月花", MoodClass::kOther).Level(Mood::kDeath), 5);
  EXPECT_GE(learner.LineMoods(u"泪坟哭魂哀", MoodClass::kOther).Level(Mood::kDeath), 10);
  // Its images are its own words.
  const std::vector<char16_t> images = learner.Characteristic(MoodClass::kMourning, 5);
  ASSERT_EQ(images.size(), 5u);
  for (const char16_t c : images) {
    EXPECT_NE(mourning.find(c), std::u16string_view::npos);
    EXPECT_EQ(ordinary.find(c), std::u16string_view::npos);
  }
}

TEST(MoodLearner, ARareWordOfWantWeighsAsItsFewLinesSay) {
  // Hundreds of ordinary poems and a hundred of grief, and a dozen poems
  // of want, each line of which says 贫 once among ordinary words: the
  // want poems teach their word as much as the grief poems teach theirs.
  const std::u16string_view ordinary = u"山水云月花江风春鸟松君人不一";
  const std::u16string_view grief = u"泪愁悲恨哀怨伤君人不一";
  std::mt19937 rng(3);
  MoodLearner learner;
  for (int k = 0; k < 400; ++k) {
    const bool sad = k % 4 == 0;
    learner.AddPoem(sad ? MoodClass::kSorrow : MoodClass::kOther,
                    Lines(sad ? grief : ordinary, 8, rng), false);
  }
  for (int k = 0; k < 12; ++k) {
    std::vector<std::u16string> poem = Lines(ordinary, 4, rng);
    for (std::u16string& line : poem) line[rng() % 5] = u'贫';
    learner.AddPoem(MoodClass::kPoverty, poem, false);
  }
  learner.Learn(2026);
  EXPECT_GT(learner.Probability(u"山水贫云月", Mood::kSorrow), 0.75f);
  EXPECT_LT(learner.Probability(u"山水云月花", Mood::kSorrow), 0.3f);
  EXPECT_GT(learner.Probability(u"泪愁悲恨哀", Mood::kSorrow), 0.9f);
}

}  // namespace
}  // namespace miravel::poemd
