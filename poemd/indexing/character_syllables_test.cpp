#include "poemd/indexing/character_syllables.h"

#include <gtest/gtest.h>

#include "poemd/testing/pinyin_corpus.h"

namespace miravel::poemd {
namespace {

using testing::PinyinCorpus;

// "kān平 kàn仄", one reading a character, in the order the index keeps them.
std::string Readings(const CorpusIndex& index, char16_t c) {
  std::string out;
  for (const CharacterReading& r : index.Pinyin().ReadingsOf(c).readings) {
    if (!out.empty()) out += ' ';
    out += index.Pinyin().Name(r.syllable);
    out += r.classical == Tone::kLevel ? "平" : r.classical == Tone::kOblique ? "仄" : "?";
  }
  return out;
}

std::vector<std::string> LinePinyin(const CorpusIndex& index, std::u16string_view text,
                                    std::vector<bool>* decided = nullptr) {
  const int length = static_cast<int>(text.size());
  for (uint32_t line = 0; line < index.LineCount(length); ++line) {
    if (index.Text(length, line) != text) continue;
    std::vector<std::string> out;
    if (decided) decided->clear();
    for (const LineSyllable& s : index.Pinyin().OfLine(length, line, text)) {
      out.emplace_back(index.Pinyin().Name(s.syllable));
      if (decided) decided->push_back(s.decided_by_word);
    }
    return out;
  }
  ADD_FAILURE() << "no such line";
  return {};
}

TEST(CharacterSyllables, APolyphoneKeepsEveryReadingWithItsClassicalClass) {
  const CorpusIndex index = PinyinCorpus({"春山独看云"});
  const Syllables& pinyin = index.Pinyin();
  EXPECT_EQ(pinyin.Name(pinyin.Alone(u'看')), "kàn");
  EXPECT_EQ(Readings(index, u'看'), "kàn仄 kān平");
  // Words first, then the modern dictionaries (its traditional form's too).
  EXPECT_EQ(Readings(index, u'长'), "cháng平 zhǎng仄");
  EXPECT_EQ(Readings(index, u'行'), "xíng平 háng平 hàng仄 xìng仄");
  EXPECT_EQ(Readings(index, u'听'), "tīng平 tìng仄");
  // A historical reading that rhymes with the character's own joins (騎 jì,
  // a horseman); one of another word written alike does not (听 yǐn).
  EXPECT_EQ(Readings(index, u'骑'), "qí平 jì仄");
  // Nor those of other words written alike (醒 chéng, 酲).
  EXPECT_EQ(Readings(index, u'醒'), "");
  // One reading: no polyphone.
  EXPECT_EQ(Readings(index, u'思'), "");
  EXPECT_EQ(pinyin.Name(pinyin.Alone(u'山')), "shān");
}

TEST(CharacterSyllables, ALineReadsAsItsWordsReadIt) {
  const CorpusIndex index = PinyinCorpus({"春风十二行，行人过长安。", "看守思量久，一去不知还。"});
  std::vector<bool> decided;
  EXPECT_EQ(LinePinyin(index, u"春风十二行", &decided),
            (std::vector<std::string>{"chūn", "fēng", "shí", "èr", "háng"}));
  EXPECT_EQ(decided, (std::vector<bool>{false, false, false, false, true}));
  // A polyphone its word reads as it reads alone is still its word's.
  EXPECT_EQ(LinePinyin(index, u"行人过长安", &decided),
            (std::vector<std::string>{"xíng", "rén", "guò", "cháng", "ān"}));
  EXPECT_EQ(decided, (std::vector<bool>{true, false, false, true, false}));
  // A neutral tone reads as the character alone when that is the same
  // syllable (思量 sī liang, 量 liàng).
  EXPECT_EQ(LinePinyin(index, u"看守思量久"),
            (std::vector<std::string>{"kān", "shǒu", "sī", "liàng", "jiǔ"}));
  // 一 and 不 in their own tones; 还 ending a line alone is huán.
  EXPECT_EQ(LinePinyin(index, u"一去不知还"),
            (std::vector<std::string>{"yī", "qù", "bù", "zhī", "huán"}));
}

TEST(CharacterSyllables, HowOftenVerseReadsAPolyphoneOblique) {
  // 色 is 仄: the fourth character opposes it (平), and the rhyme is 平.
  std::vector<std::string> poems(5, "山色春风起，水色晚风来。湖色秋风冷，江色夜看风。");
  poems.push_back("春山独看云");  // no regulated poem: tells nothing
  const CorpusIndex index = PinyinCorpus(poems);
  // 风: 4 places a poem (the fourth character of three lines, the rhyme of
  // the last), all 平.
  EXPECT_EQ(index.Pinyin().ReadingsOf(u'风').verse_oblique_percent, 0);
  // 看: 5 places, too few to tell.
  EXPECT_EQ(index.Pinyin().ReadingsOf(u'看').verse_oblique_percent, kUnattested);
}

TEST(CharacterSyllables, ClassesFollowTheClassicalReading) {
  ClassicalReading level_only{.level = true};
  ClassicalReading both{.level = true, .oblique = true};
  ClassicalReading with_entering{.level = true, .oblique = true, .entering = true};
  EXPECT_EQ(ClassOfReading(level_only, "zhǎng"), Tone::kLevel);
  EXPECT_EQ(ClassOfReading(both, "kān"), Tone::kLevel);
  EXPECT_EQ(ClassOfReading(both, "kàn"), Tone::kOblique);
  EXPECT_EQ(ClassOfReading(both, "liang"), Tone::kUnknown);
  // An entering tone may have become any Mandarin tone: only a third or a
  // fourth is surely 仄.
  EXPECT_EQ(ClassOfReading(with_entering, "bái"), Tone::kUnknown);
  EXPECT_EQ(ClassOfReading(with_entering, "bò"), Tone::kOblique);
  EXPECT_EQ(ClassOfReading(ClassicalReading{}, "kàn"), Tone::kUnknown);
}

}  // namespace
}  // namespace miravel::poemd
