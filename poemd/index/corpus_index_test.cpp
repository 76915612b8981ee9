#include "poemd/index/corpus_index.h"

#include <gtest/gtest.h>

#include "poemd/indexing/corpus_index_builder.h"
#include "poemd/testing/testing_corpus.h"
#include "text/gbk_unicode.h"

namespace miravel::poemd {
namespace {

using testing::Shi;

std::u16string Line(const CorpusIndex& index, int length, uint32_t line) {
  return std::u16string(index.Text(length, line));
}

std::optional<uint32_t> Find(const CorpusIndex& index, std::u16string_view text) {
  const int length = static_cast<int>(text.size());
  for (uint32_t line = 0; line < index.LineCount(length); ++line) {
    if (index.Text(length, line) == text) return line;
  }
  return std::nullopt;
}

TEST(CorpusIndex, SplitsAtPunctuationKeepsFiveAndSevenAndSimplifies) {
  CorpusIndexBuilder builder;
  builder.AddPoem(
      Shi("t", "a",
          {"國破山河在，城春草木深。感時花濺淚，恨別鳥驚心。", "一二三四，五六七八九十一二。",
           "春风又绿江南岸，明月何时照我还。", "春□山色好，国破山河在，"}));
  const CorpusIndex index = builder.Build();
  ASSERT_EQ(index.LineCount(5), 4u);  // the repeated 国破山河在 once; none with □
  EXPECT_EQ(Line(index, 5, 0), u"国破山河在");
  EXPECT_EQ(Line(index, 5, 2), u"感时花溅泪");
  ASSERT_EQ(index.LineCount(7), 2u);
  EXPECT_EQ(Line(index, 7, 0), u"春风又绿江南岸");
}

TEST(CorpusIndex, LinesByCharacterAndPlace) {
  const CorpusIndex index = testing::MadeUpCorpus();
  for (const char16_t c : {u'春', u'风', u'花', u'月'}) {
    for (const Place place : {Place::kHead, Place::kMiddle, Place::kTail}) {
      for (uint32_t line : index.LinesWith(c, 5, place)) {
        EXPECT_EQ(index.Text(5, line)[PositionOf(place, 5)], c);
      }
    }
  }
  EXPECT_EQ(index.LinesWith(u'春', 5, Place::kHead).size(), 4u);
  EXPECT_TRUE(index.LinesWith(u'龘', 5, Place::kHead).empty());
  EXPECT_EQ(index.LinesWith(u'春', 7, Place::kHead).size(), 1u);
}

TEST(CorpusIndex, TonesRhymesAndSimplifiedSourcesWithTheirDynasty) {
  const CorpusIndex index = testing::MadeUpCorpus();
  const uint32_t line = index.LinesWith(u'春', 5, Place::kHead)[0];
  EXPECT_EQ(Line(index, 5, line), u"春来山色好");
  EXPECT_EQ(index.Traits(5, line).modern.level, 0b00111);    // 春 来 山 平
  EXPECT_EQ(index.Traits(5, line).modern.oblique, 0b11000);  // 色 好 仄
  EXPECT_EQ(index.Traits(5, line).xinyun, 6);                // hǎo: 豪
  EXPECT_EQ(index.Source(5, line).title, "春日");
  EXPECT_EQ(index.Source(5, line).author, "甲");
  EXPECT_EQ(index.Source(5, line).dynasty, Dynasty::kTang);
  EXPECT_STREQ(DynastyName(Dynasty::kTang), "唐");
  const std::optional<uint32_t> old = Find(index, u"国破山河在");
  ASSERT_TRUE(old.has_value());
  EXPECT_EQ(index.Source(5, *old).title, "旧文");
  EXPECT_EQ(index.ReadingOf(u'堂').tone, Tone::kLevel);
}

TEST(CorpusIndex, PolyphonesAtALinesEndReadAsTheirWordReadsThem) {
  WordReadings readings;
  readings.Add(u"行", "xíng", 1e-6);
  readings.Add(u"十二行", "shí èr háng", 1e-9);
  readings.Add(u"行人", "xíng rén", 1e-8);
  CorpusIndexBuilder builder({.readings = &readings});
  builder.AddPoem(Shi("t", "a", {"春风十二行，行人过短墙。"}));
  const CorpusIndex index = builder.Build();
  const std::optional<uint32_t> bank = Find(index, u"春风十二行");
  const std::optional<uint32_t> walker = Find(index, u"行人过短墙");
  ASSERT_TRUE(bank && walker);
  EXPECT_EQ(index.Traits(5, *bank).xinyun, ReadingOfPinyin("háng").rhyme);
  EXPECT_EQ(index.Traits(5, *walker).modern.level & 1, 1);  // xíng: 平
  // Without the words, the line end takes the character's own reading.
  CorpusIndexBuilder alone;
  alone.AddPoem(Shi("t", "a", {"春风十二行，行人过短墙。"}));
  const CorpusIndex plain = alone.Build();
  EXPECT_EQ(plain.Traits(5, *Find(plain, u"春风十二行")).xinyun, ReadingOfPinyin("xíng").rhyme);
}

TEST(CorpusIndex, NeutralToneInAWordIsNeitherClass) {
  WordReadings readings;
  readings.Add(u"聪明", "cōng ming", 1e-8);
  CorpusIndexBuilder builder({.readings = &readings});
  builder.AddPoem(Shi("t", "a", {"少年自聪明，春风入小城。"}));
  const CorpusIndex index = builder.Build();
  const LineTraits& traits = index.Traits(5, *Find(index, u"少年自聪明"));
  EXPECT_EQ(traits.modern.level >> 4 & 1, 0);
  EXPECT_EQ(traits.modern.oblique >> 4 & 1, 0);
}

TEST(CorpusIndex, AnEditorialNoteNeverEntersTheIndex) {
  CorpusIndexBuilder builder;
  builder.AddPoem(Shi("归旧隐", "孟浩然",
                      {"北闕辭天子，南山隱薜蘿。", "（按：此二句疑，一作：春風又綠江",
                       "）。「引靈照語云：寺名什摩？」"}));
  const CorpusIndex index = builder.Build();
  EXPECT_EQ(index.LineCount(5), 2u);
  EXPECT_TRUE(Find(index, u"北阙辞天子").has_value());
  EXPECT_FALSE(Find(index, u"春风又绿江").has_value());
  EXPECT_FALSE(Find(index, u"引灵照语云").has_value());
}

TEST(CorpusIndex, RealCoupletsComeFromShiOfOneLength) {
  CorpusIndexBuilder builder;
  builder.AddPoem(Shi("绝句", "甲", {"春山一夜雨，风柳满江烟。", "花落青溪水，月明孤客船。"}));
  builder.AddPoem(Shi("词", "乙", {"春来江上路，风起画楼西。"}, Collection::kCi));
  const CorpusIndex index = builder.Build();
  EXPECT_EQ(index.CoupletCount(5), 2u);
  const auto found = index.CoupletsWith(u'春', u'风', 5, PositionOf(Place::kHead, 5));
  ASSERT_EQ(found.size(), 1u);
  const Couplet couplet = index.CoupletAt(5, found[0]);
  EXPECT_EQ(Line(index, 5, couplet.first), u"春山一夜雨");
  EXPECT_EQ(Line(index, 5, couplet.second), u"风柳满江烟");
  EXPECT_EQ(index.CoupletsWith(u'花', u'月', 5, PositionOf(Place::kTail, 5)).size(), 0u);
  EXPECT_EQ(index.CoupletsWith(u'水', u'船', 5, PositionOf(Place::kTail, 5)).size(), 1u);
}

TEST(CorpusIndex, ALineKeepsItsBestSourceAndDramaComesLast) {
  CorpusIndexBuilder builder;
  builder.AddPoem(Shi("戏", "丙", {"春风入户来，春草满阶生。"}, Collection::kDrama));
  builder.AddPoem(Shi("诗", "丁", {"春风入户来，山月照人回。"}));
  const CorpusIndex index = builder.Build();
  const uint32_t shared = *Find(index, u"春风入户来");
  EXPECT_EQ(index.Source(5, shared).title, "诗");
  EXPECT_EQ(index.Traits(5, shared).rank(), SourceRank::kShi);
  const auto lines = index.LinesWith(u'春', 5, Place::kHead);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(Line(index, 5, lines[1]), u"春草满阶生");  // the drama line after the shi
  EXPECT_EQ(index.Traits(5, lines[1]).rank(), SourceRank::kDrama);
}

TEST(CorpusIndex, RegulatedShiRanksFirst) {
  CorpusIndexBuilder builder;
  builder.AddPoem(Shi("绝", "甲", {"春山一夜雨，风柳满江烟。", "花落青溪水，月明孤客船。"}));
  builder.AddPoem(Shi("古", "乙", {"春草生池塘，风吹白日长。", "花开何处去"}));
  const CorpusIndex index = builder.Build();
  EXPECT_EQ(index.Traits(5, *Find(index, u"春山一夜雨")).rank(), SourceRank::kRegulatedShi);
  EXPECT_EQ(index.Traits(5, *Find(index, u"春草生池塘")).rank(), SourceRank::kShi);
}

TEST(CorpusIndex, AssociationLearnedFromConsecutiveLines) {
  CorpusIndexBuilder builder;
  for (int k = 0; k < 6; ++k) {
    builder.AddPoem(Shi("t", "a", {"白云生远岫，青山出远林。", "红花映绿水，落日照寒砧。"}));
  }
  const CorpusIndex index = builder.Build();
  const Association& a = index.Associations();
  // 云 and 山 meet in consecutive lines; 云 and 砧 never do.
  const float together = Association::Dot(a.Vector(u"白云"), a.Following(a.Vector(u"青山")));
  const float apart = Association::Dot(a.Vector(u"白云"), a.Following(a.Vector(u"寒砧")));
  EXPECT_GT(together, apart);
}

}  // namespace
}  // namespace miravel::poemd
