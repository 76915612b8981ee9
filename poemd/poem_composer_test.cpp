#include "poemd/poem_composer.h"

#include <gtest/gtest.h>

#include <set>

#include "poemd/testing_corpus.h"

namespace miravel::poemd {
namespace {

PoemOrder Order(std::u16string characters, int length, Place place, bool first_rhymes = false) {
  PoemOrder order;
  for (char16_t c : characters) order.characters.push_back({"", c});
  order.length = length;
  order.place = place;
  order.first_line_rhymes = first_rhymes;
  return order;
}

class PoemComposerTest : public ::testing::Test {
 protected:
  Poem Compose(const PoemOrder& order, uint64_t seed = 1) {
    std::mt19937_64 rng(seed);
    return ComposePoem(index_, order, rng);
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
    EXPECT_EQ(Last(poem.lines[1]).rhyme, poem.rhyme);
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
  std::set<std::u16string> texts;
  for (const ComposedLine& line : poem.lines) texts.insert(line.text);
  EXPECT_EQ(texts.size(), 4u);
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
  const bool donor_level = index_.LevelTones(5, poem.lines[0].corpus_line) >> 2 & 1;
  EXPECT_EQ(donor_level, wanted == Tone::kLevel);
}

TEST(PoemComposer, PrefersLinesOfCommonCharacters) {
  // 春, 山 and 好 are the three most frequent characters; the 龘 line is not
  // plain.
  CorpusIndexBuilder builder(3);
  builder.AddPoem("t", "a", {"春山春山好，春龘春山好，春山山春好。"});
  const CorpusIndex index = builder.Build();
  ASSERT_EQ(index.LinesWith(u'春', 5, Place::kHead).size(), 3u);
  for (uint64_t seed = 1; seed <= 20; ++seed) {
    std::mt19937_64 rng(seed);
    const Poem poem = ComposePoem(index, Order(u"春", 5, Place::kHead), rng);
    EXPECT_EQ(poem.lines[0].text.find(u'龘'), std::u16string::npos);
  }
  // When only the rare line is left, it is still taken before a made line.
  std::mt19937_64 rng(1);
  const Poem poem = ComposePoem(index, Order(u"春春春", 5, Place::kHead), rng);
  for (const ComposedLine& line : poem.lines) EXPECT_FALSE(line.made);
}

TEST_F(PoemComposerTest, SevenCharacterLines) {
  const Poem poem = Compose(Order(u"春花", 7, Place::kHead));
  EXPECT_EQ(poem.lines[0].text, u"春风又绿江南岸");
  EXPECT_EQ(poem.lines[1].text, u"花落花开年复年");
}

TEST_F(PoemComposerTest, SameSeedSamePoemOtherSeedsVary) {
  const PoemOrder order = Order(u"春风花月", 5, Place::kHead);
  EXPECT_EQ(Compose(order, 7).lines[0].text, Compose(order, 7).lines[0].text);
  std::set<std::u16string> firsts;
  for (uint64_t seed = 1; seed <= 30; ++seed) firsts.insert(Compose(order, seed).lines[0].text);
  EXPECT_GT(firsts.size(), 1u);
}

}  // namespace
}  // namespace miravel::poemd
