// Pinyin through the browser's routes: shown over every character, kept by
// every address that leads from the poem, read as the words and the metre
// give it, on the page, in its 格律 view and in its picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "poemd/http/form_body.h"
#include "poemd/serve/browser_testing.h"
#include "poemd/testing/pinyin_corpus.h"

namespace miravel::poemd {
namespace {

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// The syllables of one line of Readings().
std::vector<std::string> Syllables(const std::string& line) {
  std::vector<std::string> syllables;
  const std::regex word("[^ ]+");
  for (auto it = std::sregex_iterator(line.begin(), line.end(), word); it != std::sregex_iterator();
       ++it) {
    syllables.push_back(it->str());
  }
  return syllables;
}

TEST_F(BrowserTest, PinyinGoesWithThePoemWhereverItGoes) {
  const auto [address, page] = Follow("/poem?xing=" + PercentEncode("春风") + "&gender=5&pinyin=1");
  const std::string plain = address.substr(0, address.find('?'));
  EXPECT_EQ(address, plain + "?pinyin=1");
  ASSERT_EQ(page.status, 200);
  const HttpReply bare = service_.Handle(Get(plain));
  // The text of the lines is the poem's: the readings stand beside it.
  EXPECT_EQ(Lines(page.body), Lines(bare.body));
  const std::vector<std::string> readings = Readings(page.body);
  ASSERT_EQ(readings.size(), 2u);
  for (const std::string& line : readings) {
    const std::vector<std::string> syllables = Syllables(line);
    EXPECT_EQ(syllables.size(), 5u) << line;
    EXPECT_TRUE(std::none_of(syllables.begin(), syllables.end(), [](const std::string& s) {
      return s.empty() || s[0] == '*';
    })) << line;
  }
  EXPECT_EQ(Readings(bare.body), (std::vector<std::string>{"", ""}));
  // The 格律 view reads each character as the poem does.
  EXPECT_EQ(Count(page.body, "<span class=\"pinyin"), 10u);
  EXPECT_EQ(Count(bare.body, "<span class=\"pinyin"), 0u);

  // The switch goes either way.
  EXPECT_NE(page.body.find("class=\"pinyin-switch\" href=\"" + plain + "\""), std::string::npos);
  EXPECT_NE(bare.body.find("class=\"pinyin-switch\" href=\"" + plain + "?pinyin=1\""),
            std::string::npos);

  // The swap, the pictures, the form and another poem keep it.
  const auto [swapped, after] = Follow(address + "&swap=1");
  EXPECT_NE(swapped.find("pinyin=1"), std::string::npos) << swapped;
  ASSERT_EQ(after.status, 200);
  EXPECT_EQ(Lines(after.body)[0], Lines(page.body)[0]);
  EXPECT_EQ(Syllables(Readings(after.body)[1]).size(), 5u);
  EXPECT_NE(page.body.find(plain + ".svg?pinyin=1"), std::string::npos);
  EXPECT_NE(page.body.find("&amp;pinyin=1\">修改</a>"), std::string::npos);
  EXPECT_NE(page.body.find("&amp;pinyin=1\">再作一首</a>"), std::string::npos);
  EXPECT_NE(page.body.find("<input type=\"hidden\" name=\"pinyin\" value=\"1\">"),
            std::string::npos);
  const HttpReply form = service_.Handle(Get("/?xing=x&pinyin=1"));
  EXPECT_NE(form.body.find("name=\"pinyin\" value=\"1\" checked"), std::string::npos);

  // In either script, the script's field first.
  const std::string written =
      Follow("/poem?xing=" + PercentEncode("春风") + "&gender=5&pinyin=1&script=traditional").first;
  EXPECT_TRUE(written.ends_with("?script=traditional&pinyin=1")) << written;
  EXPECT_EQ(Readings(service_.Handle(Get(plain + "?script=traditional&pinyin=1")).body), readings);
  // Anything but 1 is no pinyin.
  for (const char* other : {"0", "yes", ""}) {
    EXPECT_EQ(Header(service_.Handle(Get(plain + "?pinyin=" + other)), "Location"), plain) << other;
  }
}

TEST_F(BrowserTest, APictureWithPinyinSetsEachReadingBesideItsCharacter) {
  const auto [address, page] = Follow("/poem?xing=" + PercentEncode("春风") + "&gender=5");
  const HttpReply bare = service_.Handle(Get(address + ".svg"));
  const HttpReply read = service_.Handle(Get(address + ".svg?pinyin=1"));
  ASSERT_EQ(read.status, 200);
  EXPECT_EQ(PictureLines(read.body), PictureLines(bare.body));
  EXPECT_EQ(Count(bare.body, "lang=\"zh-Latn-pinyin\""), 0u);
  EXPECT_EQ(Count(read.body, "lang=\"zh-Latn-pinyin\""), 10u);
  // Each reading on the page is drawn.
  for (const std::string& line : Readings(service_.Handle(Get(address + "?pinyin=1")).body)) {
    for (const std::string& syllable : Syllables(line)) {
      EXPECT_NE(read.body.find(">" + syllable + "</text>"), std::string::npos) << syllable;
    }
  }
  // Two pictures, two tags, whatever else they share.
  EXPECT_NE(Header(read, "ETag"), Header(bare, "ETag"));
  EXPECT_NE(Header(service_.Handle(Get(address + ".png?pinyin=1")), "ETag"),
            Header(service_.Handle(Get(address + ".png")), "ETag"));
}

// A made-up corpus whose polyphones the words and the metre decide.
const CorpusIndex& Polyphones() {
  static const CorpusIndex index =
      testing::PinyinCorpus({"湖色独看云，江上送行人。春风十二行，一骑过长安。"});
  return index;
}

class PinyinRoutesTest : public ::testing::Test {
 protected:
  PoemService service_{Polyphones(), {.seed = 5}};
};

TEST_F(PinyinRoutesTest, APolyphoneReadsAsItsWordsOrTheMetreGiveIt) {
  const auto [address, page] =
      Follow(service_, "/poem?xing=" + PercentEncode("湖江") + "&gender=5&pinyin=1");
  ASSERT_EQ(page.status, 200);
  ASSERT_EQ(Lines(page.body), (std::vector<std::string>{"湖色独看云", "江上送行人"}));
  const std::vector<std::string> readings = Readings(page.body);
  // 色 second is 仄, so the poet read 看 fourth 平; 行人 is a word.
  EXPECT_EQ(Syllables(readings[0])[3], "kān*此处读平声");
  EXPECT_EQ(Syllables(readings[1])[3], "xíng");
  EXPECT_NE(page.body.find("按格律选定的读音"), std::string::npos);
  EXPECT_NE(
      page.body.find("class=\"pinyin metre\" lang=\"zh-Latn-pinyin\" title=\"此处读平声\">kān<"),
      std::string::npos);
  // In traditional script, the reason in its words.
  const std::string plain = address.substr(0, address.find('?'));
  const HttpReply written = service_.Handle(Get(plain + "?script=traditional&pinyin=1"));
  ASSERT_EQ(written.status, 200);
  EXPECT_EQ(Syllables(Readings(written.body)[0])[3], "kān*此處讀平聲");
}

}  // namespace
}  // namespace miravel::poemd
