#include "poemd/compose/poem_pinyin.h"

#include <gtest/gtest.h>

#include "poemd/compose/line_reading.h"

#include "poemd/testing/pinyin_corpus.h"
#include "poemd/testing/testing_corpus.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

using testing::OrderFor;
using testing::PinyinCorpus;

class PoemPinyinTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    index_ = new CorpusIndex(PinyinCorpus({
        // Regulated: quatrains of one length.
        "春山独看云，江上送行人。春风十二行，一骑过长安。",
        "看守思量久，回首望长安。门前久看守，湖色独看云。",
        // 风 平 wherever verse tells: its 仄 fěng (讽) is another word.
        "山色春风起，水色晚风来。湖色秋风冷，江色夜看风。",
        "山色春风起，水色晚风来。湖色秋风冷，江色夜看风。",
        "山色春风起，水色晚风来。湖色秋风冷，江色夜看风。",
        "山色春风起，水色晚风来。湖色秋风冷，江色夜看风。",
        "山色春风起，水色晚风来。湖色秋风冷，江色夜看风。",
        // Of no strict metre: two lines.
        "林间独看花，溪上晚来斜。",
    }));
  }
  static void TearDownTestSuite() { delete index_; }

  // The corpus line `text` as a composed line.
  static ComposedLine Line(std::u16string_view text, bool made = false,
                           std::u16string_view donor = {}) {
    const std::u16string_view source = donor.empty() ? text : donor;
    for (uint32_t line = 0; line < index_->LineCount(5); ++line) {
      if (index_->Text(5, line) == source) return {std::u16string(text), line, made, true};
    }
    ADD_FAILURE() << "no line " << Utf16ToUtf8(source);
    return {};
  }

  // Each character's syllable, "*" after one the metre chose: "kān*".
  static std::vector<std::string> Shown(const PoemOrder& order, const Poem& poem, size_t line) {
    std::vector<std::string> out;
    const std::vector<std::vector<ShownSyllable>> shown = PoemPinyin(*index_, order, poem);
    for (const ShownSyllable& s : shown.at(line)) {
      out.push_back(std::string(s.pinyin) + (s.metre != Tone::kUnknown ? "*" : ""));
    }
    return out;
  }

  static Poem PoemOf(std::vector<ComposedLine> lines, Opening opening,
                     RhymeBook book = RhymeBook::kBoth) {
    Poem poem;
    poem.lines = std::move(lines);
    poem.opening = opening;
    poem.book = book;
    return poem;
  }

  static CorpusIndex* index_;
};
CorpusIndex* PoemPinyinTest::index_ = nullptr;

using Syllables_ = std::vector<std::string>;

TEST_F(PoemPinyinTest, APolyphoneInALevelPlaceReadsLevelAndIsMarked) {
  const PoemOrder order = OrderFor(u"春", 5, Place::kHead);
  // 平起: the first line's second character is 平.
  const Poem level = PoemOf({Line(u"春山独看云")}, Opening::kLevel);
  EXPECT_EQ(Shown(order, level, 0)[3], "kàn");  // the fourth asks 仄: as the words read it
  const Poem poem = PoemOf({Line(u"春风十二行"), Line(u"春山独看云")}, Opening::kOblique);
  // 仄起: the second line's second character is 平, its fourth 仄.
  EXPECT_EQ(Shown(order, poem, 1), (Syllables_{"chūn", "shān", "dú", "kàn", "yún"}));
  const std::vector<std::vector<ShownSyllable>> shown = PoemPinyin(
      *index_, order, PoemOf({Line(u"看守思量久"), Line(u"春山独看云")}, Opening::kLevel));
  EXPECT_EQ(shown[1][3].pinyin, "kān");  // 平起, line 2: the fourth is 平
  EXPECT_EQ(shown[1][3].metre, Tone::kLevel);
  EXPECT_EQ(MetreReason(shown[1][3].metre), "此处读平声");
  EXPECT_EQ(MetreReason(Tone::kOblique), "此处读仄声");
  EXPECT_EQ(MetreReason(Tone::kUnknown), "");
}

TEST_F(PoemPinyinTest, AReadingOfOtherLettersWhereTheMetreAsksForIt) {
  const PoemOrder order = OrderFor(u"一", 5, Place::kHead);
  // 仄起: 骑 second asks 仄, and qí is 平: jì, a horseman.
  const Poem rider = PoemOf({Line(u"一骑过长安")}, Opening::kOblique);
  EXPECT_EQ(Shown(order, rider, 0)[1], "jì*");
  EXPECT_EQ(Shown(order, PoemOf({Line(u"一骑过长安")}, Opening::kLevel), 0)[1], "qí");
}

TEST_F(PoemPinyinTest, APolyphoneInAWordReadsAsTheWordGives) {
  const PoemOrder order = OrderFor(u"江", 5, Place::kHead);
  // 平起, the first line: the fourth asks 仄, and so does the unrhymed last;
  // 行人 is xíng, 长安 cháng, 十二行 háng all the same.
  const auto first_line = [&](std::u16string_view text) {
    return Shown(order, PoemOf({Line(text)}, Opening::kLevel), 0);
  };
  EXPECT_EQ(first_line(u"江上送行人"), (Syllables_{"jiāng", "shàng", "sòng", "xíng", "rén"}));
  EXPECT_EQ(first_line(u"回首望长安")[3], "cháng");
  EXPECT_EQ(first_line(u"春风十二行")[4], "háng");
  // 看 in 看守 is kān where the metre would have kàn.
  EXPECT_EQ(first_line(u"门前久看守")[3], "kān");
}

TEST_F(PoemPinyinTest, TheLinesOwnPatternOutweighsTheTemplate) {
  // 平起, the first line: the template asks 仄 of the fourth, but 色 second
  // is 仄, so the poet read 看 平.
  const PoemOrder order = OrderFor(u"湖", 5, Place::kHead);
  EXPECT_EQ(Shown(order, PoemOf({Line(u"湖色独看云")}, Opening::kLevel), 0)[3], "kān*");
}

TEST_F(PoemPinyinTest, AReadingVerseHardlyGivesIsAnotherWord) {
  // 平起, the second line: its second asks 仄, and nothing else in it tells.
  const PoemOrder order = OrderFor(u"春春", 5, Place::kHead);
  const Poem poem = PoemOf({Line(u"春山独看云"), Line(u"春风十二行")}, Opening::kLevel);
  EXPECT_EQ(Shown(order, poem, 1)[1], "fēng");
}

TEST_F(PoemPinyinTest, TheRulesReadAPolyphoneAsVerseDoesNotAsTheDictionaryAllows) {
  // 风 may be 仄 by the dictionaries (fěng, 讽), so the index lets a line
  // end on it where a line ends 仄; a reader hears 江色夜看风 end 平, and
  // so do the rules.
  const ComposedLine line = Line(u"江色夜看风");
  ASSERT_TRUE(ReadingOf(index_->Traits(5, line.corpus_line)).classical.CanBeOblique(4));
  const LineReading read = ReadingOfLine(*index_, 5, line.corpus_line);
  EXPECT_TRUE(read.classical.CanBeLevel(4));
  EXPECT_FALSE(read.classical.CanBeOblique(4));
  // The rest of the line as the index has it.
  const LineTones recorded = ReadingOf(index_->Traits(5, line.corpus_line)).classical;
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(read.classical.CanBeLevel(i), recorded.CanBeLevel(i)) << i;
    EXPECT_EQ(read.classical.CanBeOblique(i), recorded.CanBeOblique(i)) << i;
  }
}

TEST_F(PoemPinyinTest, ALineOfNoStrictMetreReadsAsItsWordsDo) {
  // 平起, the second line: the fourth asks 平, but its poet kept no metre.
  const PoemOrder order = OrderFor(u"春林", 5, Place::kHead);
  const Poem poem = PoemOf({Line(u"看守思量久"), Line(u"林间独看花")}, Opening::kLevel);
  EXPECT_EQ(Shown(order, poem, 1)[3], "kàn");
}

TEST_F(PoemPinyinTest, AnUnrhymedEndTellsNothing) {
  // 平起, the first line ends 仄 by the template; 看 stays as it reads alone.
  const PoemOrder order = OrderFor(u"看", 5, Place::kTail);
  const Poem poem = PoemOf({Line(u"春风十二看", true, u"春风十二行")}, Opening::kLevel);
  EXPECT_EQ(Shown(order, poem, 0)[4], "kàn");
}

TEST_F(PoemPinyinTest, AMadeLinesHiddenCharacterReadsAlone) {
  // 看 hidden at the end of the second line, made from 春风十二行: alone it
  // is kàn, and the rhyme asks 平.
  const PoemOrder order = OrderFor(u"云看", 5, Place::kTail);
  const Poem poem =
      PoemOf({Line(u"春山独看云"), Line(u"春风十二看", true, u"春风十二行")}, Opening::kLevel);
  EXPECT_EQ(Shown(order, poem, 1), (Syllables_{"chūn", "fēng", "shí", "èr", "kān*"}));
}

TEST_F(PoemPinyinTest, TheModernBookReadsAsTheWordsDo) {
  const PoemOrder order = OrderFor(u"看春", 5, Place::kHead, false, RhymeBook::kXinyun);
  const Poem poem =
      PoemOf({Line(u"看守思量久"), Line(u"春山独看云")}, Opening::kLevel, RhymeBook::kXinyun);
  EXPECT_EQ(Shown(order, poem, 1)[3], "kàn");
}

}  // namespace
}  // namespace miravel::poemd
