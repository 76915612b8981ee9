// The composer in each rhyme book, on made-up lines read with made-up
// classical readings (the characters' 广韵 classes as regulated verse has
// them; their modern readings come from ICU).
#include <gtest/gtest.h>

#include <set>

#include "poemd/compose/line_rules.h"
#include "poemd/compose/poem_composer.h"
#include "poemd/indexing/classical_readings.h"
#include "poemd/indexing/corpus_index_builder.h"
#include "poemd/testing/testing_corpus.h"

namespace miravel::poemd {
namespace {

using testing::Shi;

// Written in simplified characters, read as such.
const char kReadings[] =
    "春\t真\t平\n色\t蒸\t入\n满\t寒\t上\n江\t江\t平\n树\t虞\t去\n月\t元\t入\n"
    "国\t登\t入\n望\t陽\t平\n空\t東\t平\n远\t元\t上\n寒\t寒\t平\n风\t東\t平\n"
    "吹\t支\t平\n东\t東\t平\n冬\t冬\t平\n中\t東\t平\n照\t宵\t去\n山\t山\t平\n"
    "南\t覃\t平\n绿\t鍾\t入\n青\t青\t平\n杨\t陽\t平\n天\t先\t平\n上\t陽\t去\n"
    "来\t咍\t平\n花\t麻\t平\n堂\t唐\t平\n过\t戈\t去\n水\t脂\t上\n边\t先\t平\n年\t先\t平\n"
    "外\t泰\t去\n雨\t虞\t上\n竹\t屋\t入\n柳\t尤\t上\n";

const ClassicalReadings& Readings() {
  static const ClassicalReadings readings = *ClassicalReadings::FromText(kReadings);
  return readings;
}

CorpusIndex Corpus(std::vector<PoemText> poems) {
  CorpusIndexBuilder builder({.classical = &Readings()});
  for (const PoemText& poem : poems) builder.AddPoem(poem);
  return builder.Build();
}

PoemOrder Order(std::u16string characters, Place place, bool first_rhymes, RhymeBook book) {
  return testing::OrderFor(std::move(characters), 5, place, first_rhymes, book);
}

std::u16string LineOf(const CorpusIndex& index, const PoemOrder& order, uint64_t seed, size_t i) {
  return ComposePoem(index, order, {.seed = seed}).lines.at(i).text;
}

TEST(RhymeBook, GuoIsObliqueClassicallyAndLevelInModernTones) {
  // 春色满江树 sets 仄起: the next line wants 平 at its second character.
  // 国 (guó) is 平 in Mandarin but an entering tone, 仄, in the 广韵; 望 is
  // 平 there (as this table has it) and wàng, 仄, in Mandarin.
  const CorpusIndex index =
      Corpus({Shi("a", "a", {"春色满江树，"}), Shi("b", "b", {"月国空远寒，月望空远寒。"})});
  for (uint64_t seed = 1; seed <= 10; ++seed) {
    EXPECT_EQ(LineOf(index, Order(u"春月", Place::kHead, false, RhymeBook::kBoth), seed, 1),
              u"月望空远寒");
    EXPECT_EQ(LineOf(index, Order(u"春月", Place::kHead, false, RhymeBook::kPingshui), seed, 1),
              u"月望空远寒");
    EXPECT_EQ(LineOf(index, Order(u"春月", Place::kHead, false, RhymeBook::kXinyun), seed, 1),
              u"月国空远寒");
  }
}

TEST(RhymeBook, DongAndDongDoNotRhymeClassicallyZhongAndFengDo) {
  // Both lines rhyme; 东, 冬 and 中 all end on dōng/zhōng in Mandarin.
  const CorpusIndex index =
      Corpus({Shi("a", "a", {"风吹江上东，"}), Shi("b", "b", {"月照寒山冬，月照寒山中。"})});
  for (uint64_t seed = 1; seed <= 10; ++seed) {
    const Poem poem = ComposePoem(index, Order(u"风月", Place::kHead, true, RhymeBook::kPingshui),
                                  {.seed = seed});
    EXPECT_EQ(poem.lines[1].text, u"月照寒山中");
    EXPECT_EQ(poem.rhyme.pingshui, 1);  // 上平一东
  }
  // In modern tones the three rhyme alike: either line may come.
  std::set<std::u16string> modern;
  for (uint64_t seed = 1; seed <= 30; ++seed) {
    modern.insert(LineOf(index, Order(u"风月", Place::kHead, true, RhymeBook::kXinyun), seed, 1));
  }
  EXPECT_EQ(modern.size(), 2u);
}

TEST(RhymeBook, ALineWithThreeLevelsAtItsTailOrALonelyLevelLoses) {
  // 春色吹江南 ends 平平平 (三平尾); 春色满江南 does not. Alike otherwise.
  const CorpusIndex tail = Corpus({Shi("a", "a", {"春色吹江南，春色满江南。"})});
  for (uint64_t seed = 1; seed <= 10; ++seed) {
    EXPECT_EQ(LineOf(tail, Order(u"春", Place::kHead, true, RhymeBook::kPingshui), seed, 0),
              u"春色满江南");
  }
  // 绿杨月远天 reads 仄平仄仄平 (孤平); 青杨月远天 平平仄仄平.
  const CorpusIndex lonely = Corpus({Shi("a", "a", {"绿杨月远天，青杨月远天。"})});
  for (uint64_t seed = 1; seed <= 10; ++seed) {
    EXPECT_EQ(LineOf(lonely, Order(u"月", Place::kMiddle, true, RhymeBook::kPingshui), seed, 0),
              u"青杨月远天");
  }
}

TEST(RhymeBook, ARhymeWithOneFreshRhymeCharacterForTwoLinesGivesWayToAnother) {
  // Both lines rhyme. The 唐 rhyme has the most lines for each, all ending
  // on 堂: kept, it would rhyme 堂 with 堂 (重韵). The 先 rhyme has one line
  // for each, ending on 天 and 年.
  const CorpusIndex index =
      Corpus({Shi("a", "a", {"春来花满堂，春来雨满堂，春来月满堂。"}),
              Shi("b", "b", {"风过水边堂，风过竹边堂，风过柳边堂。"}),
              Shi("c", "c", {"春来山外天，"}), Shi("d", "d", {"风过雨边年。"})});
  for (const RhymeBook book : {RhymeBook::kPingshui, RhymeBook::kBoth}) {
    for (uint64_t seed = 1; seed <= 10; ++seed) {
      const Poem poem =
          ComposePoem(index, Order(u"春风", Place::kHead, true, book), {.seed = seed});
      ASSERT_EQ(poem.lines.size(), 2u);
      EXPECT_NE(poem.lines[0].text.back(), poem.lines[1].text.back())
          << std::string(RhymeBookKey(book)) << " seed " << seed;
      EXPECT_EQ(poem.lines[0].text, u"春来山外天");
      EXPECT_EQ(poem.lines[1].text, u"风过雨边年");
    }
  }
}

TEST(RhymeBook, InBothBooksTheModernReadingAsksForTheRhymeAndNothingElse) {
  // A line that keeps every classical rule of line 0 under 平起 (平平平仄仄).
  LineReading keeps;
  keeps.classical = {0b00111, 0b11000};
  keeps.modern = keeps.classical;
  // The same classically, but read in modern tones it breaks 粘对 and
  // 二四分明 (仄仄仄平平) and ends 平: none of that may cost anything.
  LineReading modern_breaks = keeps;
  modern_breaks.modern = {0b11000, 0b00111};
  const RhymeKey rhyme{.pingshui = 1, .xinyun = 5};
  const LineRules both(5, false, RhymeBook::kBoth, rhyme, Opening::kLevel);
  EXPECT_EQ(both.Penalty(0, keeps), 0);
  EXPECT_EQ(both.Penalty(0, modern_breaks), 0);

  // A rhyming line (line 1, 仄仄仄平平) in the classical rhyme: in the modern
  // group it costs nothing, out of it it does.
  LineReading rhymes;
  rhymes.classical = {0b11000, 0b00111};
  rhymes.modern = rhymes.classical;
  rhymes.pingshui = RhymeBit(1);
  rhymes.xinyun = 5;
  LineReading out_of_group = rhymes;
  out_of_group.xinyun = 6;
  EXPECT_EQ(both.Penalty(1, rhymes), 0);
  EXPECT_GT(both.Penalty(1, out_of_group), 0);
  // The classical rhyme still comes first.
  LineReading out_of_rhyme = rhymes;
  out_of_rhyme.pingshui = RhymeBit(2);
  EXPECT_GT(both.Penalty(1, out_of_rhyme), both.Penalty(1, out_of_group));
}

}  // namespace
}  // namespace miravel::poemd
