#include "poemd/indexing/classical_readings.h"

#include <gtest/gtest.h>

#include "poemd/indexing/classical_line.h"
#include "poemd/indexing/phonetics.h"

namespace miravel::poemd {
namespace {

TEST(PingshuiRhymeOf, TheGuangyunRhymesMergeAsTheRhymeTablesMergeThem) {
  EXPECT_EQ(PingshuiRhymeOf(u"東"), 1);  // 一东
  EXPECT_EQ(PingshuiRhymeOf(u"冬"), 2);  // 二冬
  EXPECT_EQ(PingshuiRhymeOf(u"鍾"), 2);
  for (const char16_t* r : {u"支", u"脂", u"之"}) EXPECT_EQ(PingshuiRhymeOf(r), 4);
  EXPECT_EQ(PingshuiRhymeOf(u"殷"), 12);  // 十二文
  for (const char16_t* r : {u"元", u"魂", u"痕"}) EXPECT_EQ(PingshuiRhymeOf(r), 13);
  EXPECT_EQ(PingshuiRhymeOf(u"仙"), 16);  // 下平一先
  for (const char16_t* r : {u"陽", u"唐"}) EXPECT_EQ(PingshuiRhymeOf(r), 22);
  for (const char16_t* r : {u"庚", u"耕", u"清"}) EXPECT_EQ(PingshuiRhymeOf(r), 23);
  EXPECT_EQ(PingshuiRhymeOf(u"青"), 24);
  EXPECT_EQ(PingshuiRhymeOf(u"嚴"), 29);  // 十四盐
  EXPECT_EQ(PingshuiRhymeOf(u"凡"), 30);  // 十五咸
  EXPECT_EQ(PingshuiRhymeOf(u"祭"), 0);   // no level tone
  EXPECT_EQ(PingshuiRhymeOf(u"東東"), 0);
}

const char kTable[] =
    "東\t東\t平\n"
    "冬\t冬\t平\n"
    "中\t東\t平\n"
    "中\t東\t去\n"
    "國\t登\t入\n"
    "長\t陽\t平\n"
    "長\t陽\t上\n"
    "發\t元\t入\n"
    "髮\t元\t入\n"
    "\U00020000\t東\t平\n"
    "看\t寒\t平\n"
    "看\t寒\t去\n";

TEST(ClassicalReadings, ClassesRhymesAndFreeCharacters) {
  const StatusOr<ClassicalReadings> readings = ClassicalReadings::FromText(kTable);
  ASSERT_TRUE(readings.ok()) << readings.status().ToString();
  EXPECT_EQ(readings->CharacterCount(), 8u);  // the one beyond the basic plane passed over
  const ClassicalReading east = readings->Of(u'東');
  EXPECT_TRUE(east.level);
  EXPECT_FALSE(east.oblique);
  EXPECT_EQ(east.rhymes, RhymeBit(1));
  EXPECT_NE(readings->Of(u'冬').rhymes, east.rhymes);  // 东 and 冬 do not rhyme
  const ClassicalReading middle = readings->Of(u'中');
  EXPECT_TRUE(middle.Free());
  EXPECT_EQ(middle.rhymes, east.rhymes);  // 中 and 风's 一东
  const ClassicalReading country = readings->Of(u'國');
  EXPECT_FALSE(country.level);
  EXPECT_TRUE(country.oblique);
  EXPECT_TRUE(country.entering);
  EXPECT_FALSE(readings->Of(u'国').Known());  // the table holds traditional forms
  EXPECT_TRUE(readings->OfSimplified(u'国').oblique);
  // 发 may stand for 發 or 髮: both read.
  EXPECT_TRUE(readings->OfSimplified(u'发').entering);
}

TEST(ClassicalReadings, WhatIsNoTableIsRefused) {
  EXPECT_EQ(ClassicalReadings::FromText("東 東 平\n").status().code(), StatusCode::kCorruption);
  EXPECT_EQ(ClassicalReadings::FromText("東\t東\t轻\n").status().code(), StatusCode::kCorruption);
  EXPECT_EQ(ClassicalReadings::FromText("").status().code(), StatusCode::kCorruption);
  EXPECT_EQ(ClassicalReadings::FromFile("/nonexistent/guangyun.tsv").status().code(),
            StatusCode::kNotFound);
}

TEST(ReadClassically, TheLinesWordsDecideACharacterOfBothClasses) {
  const StatusOr<ClassicalReadings> readings = ClassicalReadings::FromText(kTable);
  ASSERT_TRUE(readings.ok());
  // 長 reads zhǎng in this line's words, cháng alone: the line decides 仄.
  const Reading alone[] = {ReadingOfPinyin("cháng"), ReadingOfPinyin("dōng")};
  const Reading grown[] = {ReadingOfPinyin("zhǎng"), ReadingOfPinyin("dōng")};
  ClassicalLine line = ReadClassically(*readings, u"長東", false, grown, alone);
  EXPECT_FALSE(line.tones.CanBeLevel(0));
  EXPECT_TRUE(line.tones.CanBeOblique(0));
  EXPECT_EQ(line.rhymes, RhymeBit(1));
  // Read as it reads alone: the line does not decide, either class stands.
  line = ReadClassically(*readings, u"長東", false, alone, alone);
  EXPECT_TRUE(line.tones.CanBeLevel(0) && line.tones.CanBeOblique(0));
  // Without words (no context) it stays free; an unknown character keeps no rule.
  line = ReadClassically(*readings, u"看龘", false, {}, {});
  EXPECT_TRUE(line.tones.CanBeLevel(0) && line.tones.CanBeOblique(0));
  EXPECT_FALSE(line.tones.CanBeLevel(1) || line.tones.CanBeOblique(1));
  EXPECT_EQ(line.rhymes, 0u);
  // A simplified text's 国 reads as 國.
  line = ReadClassically(*readings, u"国中", true, {}, {});
  EXPECT_TRUE(line.tones.CanBeOblique(0));
  EXPECT_FALSE(line.tones.CanBeLevel(0));
}

}  // namespace
}  // namespace miravel::poemd
