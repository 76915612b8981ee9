// The composer in each rhyme book, on made-up lines read with made-up
// classical readings (the characters' 广韵 classes as regulated verse has
// them; their modern readings come from ICU).
#include <gtest/gtest.h>

#include <set>

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
    "南\t覃\t平\n绿\t鍾\t入\n青\t青\t平\n杨\t陽\t平\n天\t先\t平\n上\t陽\t去\n";

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

}  // namespace
}  // namespace miravel::poemd
