// A poem brought back from its address through the service's maker: what
// the seed gives, a swap of one line, lines named, and which of them cost a
// second composition.
#include "poemd/serve/poems/poem_maker.h"

#include <gtest/gtest.h>

#include "poemd/testing/testing_corpus.h"

namespace miravel::poemd {
namespace {

const CorpusIndex& Corpus() {
  static const CorpusIndex index = testing::MadeUpCorpus();
  return index;
}

std::vector<std::optional<KeptLine>> Named(const Poem& poem) {
  std::vector<std::optional<KeptLine>> lines;
  for (const ComposedLine& line : poem.lines)
    lines.push_back(KeptLine{line.corpus_line, line.made});
  return lines;
}

std::vector<std::u16string> Texts(const Poem& poem) {
  std::vector<std::u16string> texts;
  for (const ComposedLine& line : poem.lines) texts.push_back(line.text);
  return texts;
}

class PoemMakerTest : public ::testing::Test {
 protected:
  const PoemOrder order_ = testing::OrderFor(u"春风花月", 5, Place::kHead);
  const IndexPoemMaker maker_{Corpus()};
};

TEST_F(PoemMakerTest, WithNothingNamedOrSwappedTheSeedAloneGivesThePoem) {
  const Recomposed plain = maker_.Recompose(order_, {.seed = 3});
  EXPECT_TRUE(plain.seeded_alone);
  EXPECT_FALSE(plain.seeded.has_value());  // composed once
  EXPECT_EQ(Texts(plain.poem), Texts(maker_.Compose(order_, 3)));
  // A swap past the last line is no swap.
  const Recomposed past = maker_.Recompose(order_, {.seed = 3, .swap = 4});
  EXPECT_TRUE(past.seeded_alone);
  EXPECT_EQ(Texts(past.poem), Texts(plain.poem));
}

TEST_F(PoemMakerTest, ASwapChangesOneLineInTheSeededPoemsTemplateAndRhyme) {
  const Poem seeded = maker_.Compose(order_, 3);
  const Recomposed swapped = maker_.Recompose(order_, {.seed = 3, .swap = 2});
  EXPECT_FALSE(swapped.seeded_alone);
  ASSERT_TRUE(swapped.seeded.has_value());
  EXPECT_EQ(Texts(*swapped.seeded), Texts(seeded));
  ASSERT_EQ(swapped.poem.lines.size(), 4u);
  for (size_t i : {0, 1, 3}) EXPECT_EQ(swapped.poem.lines[i].text, seeded.lines[i].text) << i;
  EXPECT_NE(swapped.poem.lines[2].text, seeded.lines[2].text);
  EXPECT_EQ(swapped.poem.lines[2].text[0], u'花');
  EXPECT_EQ(swapped.poem.opening, seeded.opening);
  EXPECT_EQ(swapped.poem.rhyme.pingshui, seeded.rhyme.pingshui);
  // The address decides it: asked again, the same poem.
  EXPECT_EQ(Texts(maker_.Recompose(order_, {.seed = 3, .swap = 2}).poem), Texts(swapped.poem));
}

TEST_F(PoemMakerTest, NamedLinesStandAndTheSeededPoemIsNotComposed) {
  const Recomposed swapped = maker_.Recompose(order_, {.seed = 3, .swap = 1});
  const Recomposed named = maker_.Recompose(order_, {.seed = 3, .lines = Named(swapped.poem)});
  EXPECT_FALSE(named.seeded_alone);
  EXPECT_FALSE(named.seeded.has_value());
  EXPECT_EQ(Texts(named.poem), Texts(swapped.poem));
  // Swapped again at that address: the other lines it names stay.
  const Recomposed again =
      maker_.Recompose(order_, {.seed = 3, .lines = Named(swapped.poem), .swap = 3});
  ASSERT_TRUE(again.seeded.has_value());
  for (size_t i : {0, 1, 2}) EXPECT_EQ(again.poem.lines[i].text, swapped.poem.lines[i].text) << i;
}

}  // namespace
}  // namespace miravel::poemd
