// Poems about one subject, on made-up corpora whose poems' titles and words
// say what they are about: a birthday poem takes the birthday poem's line,
// a poem keeps one season, and a character no line of the subject holds
// still gets a line from elsewhere.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "poemd/compose/poem_composer.h"
#include "poemd/indexing/corpus_index_builder.h"
#include "poemd/testing/testing_corpus.h"
#include "poemd/testing/titled_poems.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

using testing::Shi;

// `count` poems titled `title`, of four lines whose characters come mostly
// from `words` and end on a rhyme of 长光堂 (lines 2 and 4) or on `words`.
void AddPoems(CorpusIndexBuilder& builder, std::string_view title, std::u16string_view words,
              int count, uint64_t seed) {
  std::mt19937_64 rng(seed);
  constexpr std::u16string_view kFiller = u"之不有人云";
  constexpr std::u16string_view kRhyme = u"长光堂";
  const auto pick = [&](std::u16string_view from) { return from[rng() % from.size()]; };
  for (int p = 0; p < count; ++p) {
    std::vector<std::string> paragraphs;
    std::u16string paragraph;
    for (int i = 0; i < 4; ++i) {
      std::u16string line;
      for (int c = 0; c < 4; ++c) line += rng() % 10 < 7 ? pick(words) : pick(kFiller);
      line += i % 2 == 1 ? pick(kRhyme) : pick(words);
      paragraph += line + (i % 2 == 0 ? u"，" : u"。");
      if (i % 2 == 1) {
        paragraphs.push_back(Utf16ToUtf8(paragraph));
        paragraph.clear();
      }
    }
    builder.AddPoem(Shi(title, "某", std::move(paragraphs)));
  }
}

void AddTitled(CorpusIndexBuilder& builder) {
  for (const testing::TitledPoem& poem : testing::TitledPoems(120, 7)) {
    builder.AddPoem(testing::AsShi(poem));
  }
}

// Two lines alike by every rule, one in a birthday poem and one in a poem
// of a mountain walk, among poems of three subjects (咏梅, 送友人, 寿张公);
// and one line of a rare character in a poem of none of them.
CorpusIndex BirthdayAndWalk() {
  CorpusIndexBuilder builder;
  AddTitled(builder);
  builder.AddPoem(Shi("寿张公", "甲", {"春风吹柳絮，椿龄祝鹤长。"}));
  builder.AddPoem(Shi("山行", "乙", {"春风拂柳叶，远上石山长。"}));
  builder.AddPoem(Shi("山行", "丙", {"麒麟出远山，石路入云长。"}));
  return builder.Build();
}

TEST(Subject, ABirthdayPoemIsAboutLongLife) {
  const CorpusIndex index = BirthdayAndWalk();
  PoemOrder order = testing::OrderFor(u"春", 5, Place::kHead);
  order.occasion = Occasion::kBirthday;
  for (uint64_t seed = 1; seed <= 5; ++seed) {
    const Poem poem = ComposePoem(index, order, {.seed = seed});
    ASSERT_NE(poem.subject, kNoSubject);
    EXPECT_NE(index.Subjects().Name(poem.subject).find("寿"), std::string_view::npos)
        << index.Subjects().Name(poem.subject);
  }
}

TEST(Subject, APoemAboutASubjectTakesItsPoemsLineOverOneAlikeByEveryRule) {
  const CorpusIndex index = BirthdayAndWalk();
  const PoemOrder order = testing::OrderFor(u"春", 5, Place::kHead);  // no occasion
  const auto lines_under = [&](ComposeOptions options) {
    std::set<std::u16string> lines;
    for (uint64_t seed = 1; seed <= 30; ++seed) {
      options.seed = seed;
      lines.insert(ComposePoem(index, order, options).lines.at(0).text);
    }
    return lines;
  };
  // Asked about the subject of the birthday poem's line.
  ComposeOptions about;
  for (const uint32_t line : index.LinesWith(u'春', 5, 0)) {
    if (index.Source(5, line).title == "寿张公") about.subject = index.SubjectOf(5, line);
  }
  ASSERT_TRUE(about.subject);
  EXPECT_EQ(lines_under(about), (std::set<std::u16string>{u"春风吹柳絮"}));
  // It is the subject that chooses: weighed at nothing, chance does.
  about.weights.subject = 0;
  about.weights.one_subject = 0;
  EXPECT_EQ(lines_under(about).size(), 2u);
}

TEST(Subject, ACharacterNoLineOfTheSubjectHoldsGetsALineFromElsewhere) {
  const CorpusIndex index = BirthdayAndWalk();
  PoemOrder order = testing::OrderFor(u"麒", 5, Place::kHead);
  order.occasion = Occasion::kBirthday;
  for (uint64_t seed = 1; seed <= 10; ++seed) {
    const Poem poem = ComposePoem(index, order, {.seed = seed});
    ASSERT_EQ(poem.lines.size(), 1u);
    EXPECT_FALSE(poem.lines[0].made);
    EXPECT_EQ(poem.lines[0].text, u"麒麟出远山");
  }
}

// For each of 春风花月 at the head, a line of a spring poem and a line of an
// autumn poem alike by every rule, among many poems of each season.
CorpusIndex SpringAndAutumn() {
  CorpusIndexBuilder builder;
  AddPoems(builder, "春日", u"春花柳燕暖芳桃杏莺草", 40, 1);
  AddPoems(builder, "秋夜", u"秋霜雁寒落叶菊砧蛩露", 40, 2);
  builder.AddPoem(Shi("春日", "甲", {"春山燕语暖，风暖柳花香。", "花开蝶舞絮，月照杏桃芳。"}));
  builder.AddPoem(Shi("秋夜", "乙", {"春山雁影冷，风冷雁霜凉。", "花残菊落叶，月冷雁霜长。"}));
  return builder.Build();
}

TEST(Subject, APoemsLinesComeFromOneSeasonEvenWithoutNeighboursCohesion) {
  const CorpusIndex index = SpringAndAutumn();
  const PoemOrder order =
      testing::OrderFor(u"春风花月", 5, Place::kHead, false, RhymeBook::kXinyun);
  // How many of 20 poems mix the seasons, weighed so.
  const auto mixed = [&](ComposeOptions options) {
    int mixed = 0;
    for (uint64_t seed = 1; seed <= 20; ++seed) {
      options.seed = seed;
      const Poem poem = ComposePoem(index, order, options);
      int of_spring = 0;
      for (const ComposedLine& line : poem.lines) {
        of_spring += index.Source(5, line.corpus_line).title == "春日";
      }
      mixed += of_spring != 0 && of_spring != 4;
    }
    return mixed;
  };
  EXPECT_EQ(mixed({}), 0);
  // Neither neighbours' cohesion nor chance holds the poem to one season:
  // the subject does. The turn term, which asks the turning line to leave
  // its neighbour, goes with cohesion: alone against the subject it would
  // carry the turn into the other season of so small a corpus.
  ComposeOptions unchained;
  unchained.weights.cohesion = 0;
  unchained.weights.neighbours = 0;
  unchained.weights.turn_apart = 0;
  EXPECT_EQ(mixed(unchained), 0);
  unchained.weights.subject = 0;
  unchained.weights.one_subject = 0;
  EXPECT_GT(mixed(unchained), 0);
}

}  // namespace
}  // namespace miravel::poemd
