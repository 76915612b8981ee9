#include "poemd/corpus_index.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "poemd/testing_corpus.h"
#include "text/gbk_unicode.h"

namespace miravel::poemd {
namespace {

std::u16string Line(const CorpusIndex& index, int length, uint32_t line) {
  return std::u16string(index.Text(length, line));
}

TEST(CorpusIndex, SplitsAtPunctuationKeepsFiveAndSevenAndSimplifies) {
  CorpusIndexBuilder builder;
  builder.AddPoem(
      "t", "a",
      {"國破山河在，城春草木深。感時花濺淚，恨別鳥驚心。", "一二三四，五六七八九十一二。",
       "春风又绿江南岸，明月何时照我还。", "春□山色好，国破山河在，"});
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

TEST(CorpusIndex, TonesRhymesAndSources) {
  const CorpusIndex index = testing::MadeUpCorpus();
  const uint32_t line = index.LinesWith(u'春', 5, Place::kHead)[0];  // 春来山色好
  EXPECT_EQ(Line(index, 5, line), u"春来山色好");
  EXPECT_EQ(index.LevelTones(5, line), 0b00111);  // 春 来 山 平, 色 好 仄
  EXPECT_EQ(index.LastRhyme(5, line), 6);         // hǎo: 豪
  EXPECT_EQ(GbkToUtf16(index.Source(5, line).title), u"春日");
  EXPECT_EQ(GbkToUtf16(index.Source(5, line).author), u"甲");
  EXPECT_EQ(index.ReadingOf(u'堂').tone, Tone::kLevel);
}

TEST(CorpusIndex, SaveAndLoadRoundTrip) {
  const CorpusIndex index = testing::MadeUpCorpus();
  const std::string path = ::testing::TempDir() + "/corpus_round_trip.idx";
  ASSERT_TRUE(index.Save(path));
  std::string error;
  const auto loaded = CorpusIndex::Load(path, &error);
  ASSERT_TRUE(loaded.has_value()) << error;
  EXPECT_EQ(loaded->LineCount(5), index.LineCount(5));
  EXPECT_EQ(loaded->LinesWith(u'月', 5, Place::kTail).size(),
            index.LinesWith(u'月', 5, Place::kTail).size());
  EXPECT_EQ(loaded->Source(7, 0).title, index.Source(7, 0).title);
  std::filesystem::remove(path);
}

TEST(CorpusIndex, LoadRefusesOtherFilesAndDamage) {
  std::string error;
  EXPECT_FALSE(CorpusIndex::Load("/nonexistent/corpus.idx", &error).has_value());
  EXPECT_FALSE(error.empty());
  const std::string path = ::testing::TempDir() + "/not_an_index.idx";
  {
    FILE* f = std::fopen(path.c_str(), "wb");
    std::fputs("hello", f);
    std::fclose(f);
  }
  EXPECT_FALSE(CorpusIndex::Load(path, &error).has_value());
  // A real index cut short.
  ASSERT_TRUE(testing::MadeUpCorpus().Save(path));
  std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
  EXPECT_FALSE(CorpusIndex::Load(path, &error).has_value());
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace miravel::poemd
