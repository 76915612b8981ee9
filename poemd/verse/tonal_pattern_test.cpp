#include "poemd/verse/tonal_pattern.h"

#include <gtest/gtest.h>

#include <string_view>

#include "poemd/verse/rhyme_books.h"

namespace miravel::poemd {
namespace {

// 平 'L', 仄 'O', either 'F', neither '.', first character first.
LineTones Tones(std::string_view marks) {
  LineTones tones;
  for (size_t i = 0; i < marks.size(); ++i) {
    const auto bit = static_cast<uint8_t>(1 << i);
    if (marks[i] == 'L' || marks[i] == 'F') tones.level |= bit;
    if (marks[i] == 'O' || marks[i] == 'F') tones.oblique |= bit;
  }
  return tones;
}

TEST(TonalPattern, ACharacterOfBothClassesKeepsEitherTemplateButNotBothAtOnce) {
  // 平起: the second character 平, the fourth 仄.
  EXPECT_TRUE(KeepsTemplate(Tones("LLOOL"), 5, Opening::kLevel, 0));
  EXPECT_TRUE(KeepsTemplate(Tones("LFOOL"), 5, Opening::kLevel, 0));
  EXPECT_TRUE(KeepsTemplate(Tones("LFOLL"), 5, Opening::kOblique, 0));
  // The second may be read 仄 for 粘对 and 平 for 二四: not both at once.
  const LineTones free_second = Tones("LFOLO");
  EXPECT_TRUE(KeepsLink(free_second, Opening::kLevel, 0));
  EXPECT_TRUE(KeepsInLine(free_second, 5));
  EXPECT_FALSE(KeepsTemplate(free_second, 5, Opening::kLevel, 0));
  // Seven characters: the sixth takes the second's tone again.
  EXPECT_TRUE(KeepsTemplate(Tones("OOLLOOL"), 7, Opening::kOblique, 0));
  EXPECT_FALSE(KeepsTemplate(Tones("OOLLOLL"), 7, Opening::kOblique, 0));
  // A neutral tone keeps no rule that asks for a tone.
  EXPECT_FALSE(KeepsLink(Tones("L.OOL"), Opening::kLevel, 0));
}

TEST(TonalPattern, TheTemplateOfAWholePoemFollowsOneOpening) {
  // 仄起: lines 1 to 4 take 仄 平 平 仄 at the second character.
  const LineTones poem[] = {Tones("LOLLO"), Tones("LLOOL"), Tones("OLLOO"), Tones("LOOLL")};
  EXPECT_TRUE(KeepsLinks(poem));
  EXPECT_TRUE(KeepsWholeTemplate(poem, 5));
  const LineTones broken[] = {Tones("LOLLO"), Tones("LLOOL"), Tones("OOLLO"), Tones("LOOLL")};
  EXPECT_FALSE(KeepsLinks(broken));
  EXPECT_FALSE(KeepsWholeTemplate(broken, 5));
  EXPECT_TRUE(IsRhymingLine(1, false));
  EXPECT_FALSE(IsRhymingLine(0, false));
  EXPECT_TRUE(IsRhymingLine(0, true));
}

TEST(TonalPattern, LonelyLevelAndThreeLevelTail) {
  EXPECT_TRUE(IsLonelyLevel(Tones("OLOOL"), 5));     // 仄平仄仄平
  EXPECT_FALSE(IsLonelyLevel(Tones("LLOOL"), 5));    // 平平仄仄平
  EXPECT_FALSE(IsLonelyLevel(Tones("OLLOL"), 5));    // 仄平平仄平: the 救 of it
  EXPECT_FALSE(IsLonelyLevel(Tones("FLOOL"), 5));    // the first may be read 平
  EXPECT_FALSE(IsLonelyLevel(Tones("OOOLL"), 5));    // 仄仄仄平平 is a pattern of its own
  EXPECT_TRUE(IsLonelyLevel(Tones("LLOLOOL"), 7));   // 平平仄平仄仄平
  EXPECT_FALSE(IsLonelyLevel(Tones("OOLLOOL"), 7));  // 仄仄平平仄仄平
  EXPECT_TRUE(HasThreeLevelTail(Tones("OOLLL"), 5));
  EXPECT_FALSE(HasThreeLevelTail(Tones("OOLFL"), 5));
  EXPECT_FALSE(HasThreeLevelTail(Tones("OOOLL"), 5));
}

TEST(TonalPattern, ALinesOwnPatternTellsAFreeCharactersTone) {
  EXPECT_EQ(ToneByPattern(Tones("LOLFL"), 5, 3), Tone::kLevel);      // the second 仄
  EXPECT_EQ(ToneByPattern(Tones("LFLOL"), 5, 1), Tone::kLevel);      // the fourth 仄
  EXPECT_EQ(ToneByPattern(Tones("LFLFLOL"), 7, 1), Tone::kOblique);  // the sixth 仄
  EXPECT_EQ(ToneByPattern(Tones("LFLFLFL"), 7, 3), Tone::kUnknown);  // none reads one way
  EXPECT_EQ(ToneByPattern(Tones("LF.FL"), 5, 1), Tone::kUnknown);    // nor neither way
  EXPECT_EQ(ToneByPattern(Tones("FOLFL"), 5, 0), Tone::kUnknown);    // not a second, fourth, sixth
  EXPECT_EQ(ToneByPattern(Tones("LOLOF"), 5, 4), Tone::kUnknown);
}

TEST(RhymeBooks, NamesAndKeys) {
  EXPECT_EQ(PingshuiRhymeName(1), "上平一东");
  EXPECT_EQ(PingshuiRhymeName(22), "下平七阳");
  EXPECT_EQ(PingshuiRhymeName(30), "下平十五咸");
  EXPECT_EQ(PingshuiRhymeName(31), "");
  EXPECT_EQ(XinyunGroupName(10), "十唐");
  for (const RhymeBook book : {RhymeBook::kPingshui, RhymeBook::kXinyun, RhymeBook::kBoth}) {
    EXPECT_EQ(RhymeBookFromKey(RhymeBookKey(book)), book);
  }
  EXPECT_FALSE(RhymeBookFromKey("guangyun").has_value());
  EXPECT_EQ(RhymeBit(1), 1u);
  EXPECT_EQ(RhymeBit(0), 0u);
}

}  // namespace
}  // namespace miravel::poemd
