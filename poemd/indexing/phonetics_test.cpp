#include "poemd/indexing/phonetics.h"

#include <gtest/gtest.h>

namespace miravel::poemd {
namespace {

TEST(ReadingOfPinyin, ToneClasses) {
  EXPECT_EQ(ReadingOfPinyin("chūn").tone, Tone::kLevel);
  EXPECT_EQ(ReadingOfPinyin("rén").tone, Tone::kLevel);
  EXPECT_EQ(ReadingOfPinyin("hǎo").tone, Tone::kOblique);
  EXPECT_EQ(ReadingOfPinyin("yuè").tone, Tone::kOblique);
  EXPECT_EQ(ReadingOfPinyin("").tone, Tone::kUnknown);
  // A word's weak syllable (聪明 cōng ming) is neither 平 nor 仄.
  EXPECT_EQ(ReadingOfPinyin("ming").tone, Tone::kUnknown);
  EXPECT_EQ(ReadingOfPinyin("ming").rhyme, ReadingOfPinyin("míng").rhyme);
}

TEST(ReadingOfPinyin, RhymeGroupsFromFinals) {
  const std::pair<const char*, int> cases[] = {
      {"huā", 1},   {"jiā", 1},    {"bō", 2},     {"guó", 2},   {"gē", 2},    {"xié", 3},
      {"yuè", 3},   {"jué", 3},    {"lái", 4},    {"huái", 4},  {"fēi", 5},   {"guī", 5},
      {"wēi", 5},   {"gāo", 6},    {"yáo", 6},    {"lóu", 7},   {"yōu", 7},   {"liú", 7},
      {"shān", 8},  {"yān", 8},    {"yuán", 8},   {"quán", 8},  {"chén", 9},  {"yún", 9},
      {"jūn", 9},   {"wén", 9},    {"xiāng", 10}, {"wáng", 10}, {"fēng", 11}, {"qíng", 11},
      {"dōng", 11}, {"xiōng", 11}, {"yī", 12},    {"yú", 12},   {"lǜ", 12},   {"ér", 12},
      {"shī", 13},  {"zì", 13},    {"rì", 13},    {"hú", 14},   {"wú", 14},   {"zhū", 14},
  };
  for (const auto& [pinyin, group] : cases) {
    EXPECT_EQ(ReadingOfPinyin(pinyin).rhyme, group) << pinyin;
  }
}

TEST(Phonetics, ReadsCharactersThroughIcu) {
  Phonetics phonetics;
  EXPECT_EQ(phonetics.Of(u'春').tone, Tone::kLevel);
  EXPECT_EQ(phonetics.Of(u'月').tone, Tone::kOblique);
  EXPECT_EQ(phonetics.Of(u'花').rhyme, 1);
  EXPECT_EQ(phonetics.Of(u'A').tone, Tone::kUnknown);
}

}  // namespace
}  // namespace miravel::poemd
