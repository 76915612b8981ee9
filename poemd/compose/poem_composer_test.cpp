#include "poemd/compose/poem_composer.h"

#include <gtest/gtest.h>

#include <set>

#include "poemd/indexing/corpus_index_builder.h"
#include "poemd/measure/poem_measures.h"
#include "poemd/testing/testing_corpus.h"

namespace miravel::poemd {
namespace {

using testing::Shi;

PoemOrder Order(std::u16string characters, int length, Place place, bool first_rhymes = false) {
  return testing::OrderFor(std::move(characters), length, place, first_rhymes);
}

std::vector<std::u16string> Texts(const Poem& poem) {
  std::vector<std::u16string> texts;
  for (const ComposedLine& line : poem.lines) texts.push_back(line.text);
  return texts;
}

PoemFacts Facts(const CorpusIndex& index, const PoemOrder& order, const Poem& poem) {
  const LineReader reader(index, order.length);
  std::vector<ReadLineFacts> read;
  for (const ComposedLine& line : poem.lines) {
    read.push_back(reader.Read(line, PositionOf(order.place, order.length)));
  }
  return Examine(read, order);
}

class PoemComposerTest : public ::testing::Test {
 protected:
  Poem Compose(const PoemOrder& order, uint64_t seed = 1) {
    return ComposePoem(index_, order, {.seed = seed});
  }
  Reading Last(const ComposedLine& line) { return index_.ReadingOf(line.text.back()); }

  const CorpusIndex index_ = testing::MadeUpCorpus();
};

TEST_F(PoemComposerTest, OneLinePerCharacterWithItInItsPlace) {
  for (const Place place : {Place::kHead, Place::kMiddle, Place::kTail}) {
    const Poem poem = Compose(Order(u"春风花月", 5, place));
    ASSERT_EQ(poem.lines.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
      EXPECT_EQ(poem.lines[i].text.size(), 5u);
      EXPECT_EQ(poem.lines[i].text[PositionOf(place, 5)], u"春风花月"[i]);
    }
  }
}

TEST_F(PoemComposerTest, EvenLinesRhymeOnLevelToneOddLinesEndOblique) {
  for (uint64_t seed = 1; seed <= 20; ++seed) {
    const Poem poem = Compose(Order(u"春风花月", 5, Place::kHead), seed);
    for (size_t i = 0; i < 4; ++i) EXPECT_FALSE(poem.lines[i].made);
    EXPECT_EQ(Last(poem.lines[1]).tone, Tone::kLevel);
    EXPECT_EQ(Last(poem.lines[3]).tone, Tone::kLevel);
    EXPECT_EQ(Last(poem.lines[1]).rhyme, Last(poem.lines[3]).rhyme);
    EXPECT_EQ(Last(poem.lines[1]).rhyme, poem.rhyme.xinyun);
    EXPECT_EQ(Last(poem.lines[0]).tone, Tone::kOblique);
    EXPECT_EQ(Last(poem.lines[2]).tone, Tone::kOblique);
  }
}

TEST_F(PoemComposerTest, FirstLineRhymesTooWhenAsked) {
  for (uint64_t seed = 1; seed <= 20; ++seed) {
    const Poem poem = Compose(Order(u"春风花月", 5, Place::kHead, true), seed);
    EXPECT_EQ(Last(poem.lines[0]).tone, Tone::kLevel);
    EXPECT_EQ(Last(poem.lines[0]).rhyme, Last(poem.lines[1]).rhyme);
  }
}

TEST_F(PoemComposerTest, NoLineTwice) {
  const Poem poem = Compose(Order(u"春春春春", 5, Place::kHead));
  const std::vector<std::u16string> texts = Texts(poem);
  EXPECT_EQ(std::set<std::u16string>(texts.begin(), texts.end()).size(), 4u);
}

TEST_F(PoemComposerTest, RepeatedCharacterBeyondTheCorpusGetsMadeLines) {
  // Only four 春 lines at the head: a fifth and sixth are made.
  const Poem poem = Compose(Order(u"春春春春春春", 5, Place::kHead));
  int made = 0;
  for (const ComposedLine& line : poem.lines) {
    EXPECT_EQ(line.text[0], u'春');
    made += line.made;
  }
  EXPECT_EQ(made, 2);
}

TEST_F(PoemComposerTest, UnknownCharacterGetsAMadeLineOfTheSameTone) {
  const Poem poem = Compose(Order(u"龘A", 5, Place::kMiddle));
  ASSERT_EQ(poem.lines.size(), 2u);
  for (const ComposedLine& line : poem.lines) {
    EXPECT_TRUE(line.made);
    EXPECT_TRUE(line.has_source);
    EXPECT_EQ(line.text.size(), 5u);
  }
  EXPECT_EQ(poem.lines[0].text[2], u'龘');
  EXPECT_EQ(poem.lines[1].text[2], u'A');
  const Tone wanted = index_.ReadingOf(u'龘').tone;
  const LineTraits& donor = index_.Traits(5, poem.lines[0].corpus_line);
  EXPECT_EQ(donor.modern.level >> 2 & 1, wanted == Tone::kLevel ? 1 : 0);
}

TEST_F(PoemComposerTest, SevenCharacterLines) {
  const Poem poem = Compose(Order(u"春花", 7, Place::kHead));
  EXPECT_EQ(poem.lines[0].text, u"春风又绿江南岸");
  EXPECT_EQ(poem.lines[1].text, u"花落花开年复年");
}

TEST(PoemComposer, ACorpusWithoutLinesOfTheLengthGivesBlankMadeLines) {
  const CorpusIndex index = testing::EvenChoiceCorpus();  // five characters only
  const Poem poem = ComposePoem(index, Order(u"春风花", 7, Place::kHead), {.seed = 1});
  ASSERT_EQ(poem.lines.size(), 3u);
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_TRUE(poem.lines[i].made);
    EXPECT_FALSE(poem.lines[i].has_source);
    EXPECT_EQ(poem.lines[i].text, u"春风花"[i] + std::u16string(6, u'\u3000'));
  }
}

TEST(PoemComposer, ThePoemSaysWhatEachTermMadeOfIt) {
  const CorpusIndex index = testing::MadeUpCorpus();
  const Poem poem =
      ComposePoem(index, testing::OrderFor(u"春风花月", 5, Place::kHead, false, RhymeBook::kXinyun),
                  {.seed = 3});
  std::set<std::string_view> names;
  for (const TermShare& share : poem.shares) names.insert(share.name);
  for (const std::string_view name : {"rules", "rank", "chance", "cohesion", "repeats", "重韵"}) {
    EXPECT_TRUE(names.count(name)) << name;
  }
  // Its lines are real, of no ill omen, each taken once and rhyming on
  // fresh characters: whatever it pays, it pays to the rules alone. Cohesion
  // counts among its preferences.
  for (const TermShare& share : poem.shares) {
    if (share.name != "rules") {
      EXPECT_EQ(share.penalty, 0) << share.name;
    }
  }
  const auto cohesion = std::find_if(poem.shares.begin(), poem.shares.end(),
                                     [](const TermShare& s) { return s.name == "cohesion"; });
  EXPECT_NE(cohesion->preference, 0.0f);
}

TEST(PoemComposer, SameSeedSamePoemOtherSeedsVary) {
  const CorpusIndex index = testing::EvenChoiceCorpus();
  const PoemOrder order = Order(u"春风", 5, Place::kHead);
  const auto compose = [&](uint64_t seed) {
    return Texts(ComposePoem(index, order, {.seed = seed}));
  };
  EXPECT_EQ(compose(7), compose(7));
  std::set<std::vector<std::u16string>> poems;
  for (uint64_t seed = 1; seed <= 30; ++seed) poems.insert(compose(seed));
  EXPECT_GT(poems.size(), 2u);
}

TEST(PoemComposer, UncommonCharactersAreNotShunned) {
  // 春, 山 and 好 are the three most frequent characters; a line with 龘 is
  // as good a line, and real poems hold uncommon characters too.
  CorpusIndexBuilder builder({.common_characters = 3});
  builder.AddPoem(Shi("t", "a", {"春山春山好，春龘春山好，春山山春好。"}));
  const CorpusIndex index = builder.Build();
  ASSERT_EQ(index.LinesWith(u'春', 5, Place::kHead).size(), 3u);
  int uncommon = 0;
  for (uint64_t seed = 1; seed <= 30; ++seed) {
    const Poem poem = ComposePoem(index, Order(u"春", 5, Place::kHead), {.seed = seed});
    uncommon += poem.lines[0].text.find(u'龘') != std::u16string::npos;
  }
  EXPECT_GT(uncommon, 0);
  EXPECT_LT(uncommon, 30);
}

// Regulated quatrains whose lines are read with unambiguous tones:
// 平 平 仄 仄 仄 / 仄 仄 仄 平 平 and the like.
class WholePoemTest : public ::testing::Test {
 protected:
  static Poem Compose(const CorpusIndex& index, PoemOrder order, uint64_t seed,
                      std::u16string theme = u"") {
    order.theme = std::move(theme);
    return ComposePoem(index, order, {.seed = seed});
  }
};

TEST_F(WholePoemTest, ARealCoupletThatFitsIsTakenWhole) {
  CorpusIndexBuilder builder;
  // The couplet, and lines as good by every rule that never stood together.
  builder.AddPoem(Shi("甲", "a", {"春山一夜雨，风柳满江烟。", "花落青溪水，月明孤客船。"}));
  builder.AddPoem(Shi("乙", "b", {"春城三月暮，柴门对远峰。", "霜林红叶落，孤寺晚钟浓。"}));
  builder.AddPoem(Shi("丙", "c", {"残霞千里照，风柳落长天。", "秋林一片叶，孤鸟入寒烟。"}));
  const CorpusIndex index = builder.Build();
  for (uint64_t seed = 1; seed <= 10; ++seed) {
    const Poem poem = Compose(index, Order(u"春风", 5, Place::kHead), seed);
    EXPECT_EQ(Texts(poem), (std::vector<std::u16string>{u"春山一夜雨", u"风柳满江烟"}));
  }
}

TEST_F(WholePoemTest, TheLineThatBelongsWithItsNeighbourWins) {
  CorpusIndexBuilder builder;
  // 江 and 水 meet 船 and 舟 in the next line; 山 and 松 meet 鹤.
  for (int k = 0; k < 4; ++k) {
    builder.AddPoem(Shi("江", "a", {"江南春水绿，晚泊客船归。", "野水无人渡，孤舟尽日横。"}));
    builder.AddPoem(Shi("山", "b", {"青山松石古，白鹤去还来。", "深山松径里，野鹤独徘徊。"}));
  }
  // The only 花 line, and two 月 lines alike in every rule.
  builder.AddPoem(Shi("花", "c", {"花落江南水，"}));
  builder.AddPoem(Shi("月", "d", {"月明孤客船，月明孤鹤闲。"}));
  const CorpusIndex index = builder.Build();
  const LineTraits& boat = index.Traits(5, index.LinesWith(u'月', 5, Place::kHead)[0]);
  const LineTraits& crane = index.Traits(5, index.LinesWith(u'月', 5, Place::kHead)[1]);
  ASSERT_EQ(boat.modern.level, crane.modern.level);
  ASSERT_EQ(boat.xinyun, crane.xinyun);
  for (uint64_t seed = 1; seed <= 10; ++seed) {
    const Poem poem = Compose(index, Order(u"花月", 5, Place::kHead), seed);
    EXPECT_EQ(poem.lines[1].text, u"月明孤客船");
  }
}

TEST_F(WholePoemTest, AThemeWordChangesTheChoice) {
  CorpusIndexBuilder builder;
  for (int k = 0; k < 4; ++k) {
    builder.AddPoem(Shi("江", "a", {"江南春水绿，晚泊客船归。"}));
    builder.AddPoem(Shi("山", "b", {"青山松石古，白鹤去还来。"}));
  }
  builder.AddPoem(Shi("月", "d", {"月明孤客船，月明孤鹤闲。"}));
  const CorpusIndex index = builder.Build();
  for (uint64_t seed = 1; seed <= 10; ++seed) {
    EXPECT_EQ(Compose(index, Order(u"月", 5, Place::kHead), seed, u"江水").lines[0].text,
              u"月明孤客船");
    EXPECT_EQ(Compose(index, Order(u"月", 5, Place::kHead), seed, u"青山").lines[0].text,
              u"月明孤鹤闲");
  }
}

TEST_F(WholePoemTest, TheTonalTemplateIsKept) {
  const CorpusIndex index = testing::MadeUpCorpus();
  for (uint64_t seed = 1; seed <= 10; ++seed) {
    const PoemOrder order = Order(u"春风花月", 5, Place::kHead);
    const Poem poem = Compose(index, order, seed);
    const PoemFacts facts = Facts(index, order, poem);
    EXPECT_TRUE(facts.modern.rhymes);
    EXPECT_TRUE(facts.modern.keeps_links) << seed;
  }
}

TEST_F(WholePoemTest, RulesGiveWayInTheirOrder) {
  // 春's only line sets the template: its second character, 山, is 平, so
  // the rhyming 风 line wants 仄 there. One 风 line breaks 粘对, the other
  // 二四不同, which gives way first.
  CorpusIndexBuilder builder;
  builder.AddPoem(Shi("a", "a", {"春山三夜雨，"}));
  builder.AddPoem(Shi("b", "b", {"风清千古烟，风柳满地烟。"}));
  const CorpusIndex index = builder.Build();
  const PoemOrder order = Order(u"春风", 5, Place::kHead);
  for (uint64_t seed = 1; seed <= 10; ++seed) {
    const Poem poem = Compose(index, order, seed);
    EXPECT_EQ(poem.lines[1].text, u"风柳满地烟");
    const PoemFacts facts = Facts(index, order, poem);
    EXPECT_TRUE(facts.modern.keeps_links);
    EXPECT_EQ(facts.modern.lines_in_line, 1);
  }
  // The rhyme comes before 粘对: one line rhymes and breaks 粘对, the other
  // keeps the pattern and ends on 仄.
  CorpusIndexBuilder rhyme;
  rhyme.AddPoem(Shi("a", "a", {"春山三夜雨，"}));
  rhyme.AddPoem(Shi("b", "b", {"风清千古烟，风柳满江月。"}));
  const CorpusIndex rhymed = rhyme.Build();
  for (uint64_t seed = 1; seed <= 10; ++seed) {
    const Poem poem = Compose(rhymed, order, seed);
    EXPECT_EQ(poem.lines[1].text, u"风清千古烟");
    EXPECT_FALSE(Facts(rhymed, order, poem).modern.keeps_links);
  }
}

TEST_F(WholePoemTest, ARhymeCharacterIsNotUsedTwiceButOtherCharactersMayRepeat) {
  // 烟 ends the only 风 line that rhymes; the 月 lines end on 烟 or 天.
  CorpusIndexBuilder builder;
  builder.AddPoem(Shi("a", "a", {"春山一夜雨，风柳满江烟，花落山前树，月明千里烟，月明千里天。"}));
  const CorpusIndex index = builder.Build();
  const PoemOrder order = Order(u"春风花月", 5, Place::kHead);
  for (uint64_t seed = 1; seed <= 10; ++seed) {
    const Poem poem = Compose(index, order, seed);
    EXPECT_EQ(poem.lines[1].text, u"风柳满江烟");
    EXPECT_EQ(poem.lines[3].text, u"月明千里天") << seed;
    EXPECT_FALSE(Facts(index, order, poem).repeated_rhyme);
  }
  // 山 of the 春 line may stand again in the 花 line: nothing else holds 花.
  const Poem poem = Compose(index, order, 1);
  EXPECT_EQ(poem.lines[2].text, u"花落山前树");
  EXPECT_TRUE(Facts(index, order, poem).repeats);
}

TEST_F(WholePoemTest, DramaLinesOnlyWhenNothingElseHoldsTheCharacter) {
  CorpusIndexBuilder builder;
  // The drama line rhymes and keeps the pattern; the shi line does neither.
  builder.AddPoem(Shi("戏", "a", {"风柳满江烟，月明千里照，"}, Collection::kDrama));
  builder.AddPoem(Shi("诗", "b", {"春山三夜雨，风急过江去。"}));
  const CorpusIndex index = builder.Build();
  for (uint64_t seed = 1; seed <= 10; ++seed) {
    const Poem poem = Compose(index, Order(u"春风月", 5, Place::kHead), seed);
    EXPECT_EQ(poem.lines[1].text, u"风急过江去");
    EXPECT_EQ(poem.lines[2].text, u"月明千里照");  // only drama holds 月: taken, not made
    EXPECT_FALSE(poem.lines[2].made);
  }
}

}  // namespace
}  // namespace miravel::poemd
