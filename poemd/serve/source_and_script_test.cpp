// Each line's source poem, whole, at its own address; and the poem in the
// poets' own characters, kept by its address, its pictures and the form.
#include <gtest/gtest.h>

#include <regex>

#include "poemd/http/form_body.h"
#include "poemd/indexing/traditional_converter.h"
#include "poemd/serve/browser_testing.h"
#include "poemd/testing/testing_corpus.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

// The addresses a poem page's 出处 list links to, decoded from HTML.
std::vector<std::string> SourceLinks(const std::string& page) {
  const size_t from = page.find("<section class=\"sources\">");
  std::vector<std::string> links;
  const std::regex link("<a href=\"([^\"]*)\">");
  for (auto it = std::sregex_iterator(page.begin() + static_cast<long>(from), page.end(), link);
       it != std::sregex_iterator(); ++it) {
    links.push_back(std::regex_replace((*it)[1].str(), std::regex("&amp;"), "&"));
  }
  return links;
}

std::string Marked(const std::string& page) {
  std::smatch m;
  return std::regex_search(page, m, std::regex("<mark>([^<]*)</mark>")) ? m[1].str() : "";
}

std::string Back(const std::string& page) {
  std::smatch m;
  return std::regex_search(page, m, std::regex("<a class=\"button\" href=\"([^\"]*)\">回到那首诗"))
             ? m[1].str()
             : "";
}

TEST_F(BrowserTest, EverySourceLinksToItsPoemWholeWithTheLineMarkedAndAWayBack) {
  const auto [address, page] = Follow("/poem?xing=" + PercentEncode("春风花月") + "&gender=5");
  const std::vector<std::string> lines = Lines(page.body);
  const std::vector<std::string> links = SourceLinks(page.body);
  ASSERT_EQ(links.size(), lines.size());
  for (size_t i = 0; i < links.size(); ++i) {
    ASSERT_TRUE(links[i].starts_with("/source/5/")) << links[i];
    const HttpReply source = service_.Handle(Get(links[i]));
    ASSERT_EQ(source.status, 200) << links[i];
    EXPECT_EQ(Marked(source.body), lines[i]);
    EXPECT_EQ(std::count(source.body.begin(), source.body.end(), '\n') > 0, true);
    EXPECT_NE(source.body.find("<p class=\"byline\">〔唐〕"), std::string::npos);
    EXPECT_EQ(Back(source.body), address);
    EXPECT_EQ(Lines(service_.Handle(Get(Back(source.body))).body), lines);
  }
}

TEST(SourcePage, ACisLinesOfEveryLengthAreShownAndItsOwnLineMarked) {
  CorpusIndexBuilder builder;
  builder.AddPoem(testing::Shi(
      "水調歌頭", "蘇軾", {"明月幾時有？把酒問青天。不知天上宮闕，今夕是何年。"}, Collection::kCi));
  builder.AddPoem(testing::Shi("水調歌頭", "蘇軾", {"落日繡簾卷，亭下水連空。"}, Collection::kCi));
  const CorpusIndex index = builder.Build();
  const PoemService service(index, {.seed = 1});
  std::string second;
  for (uint32_t line = 0; line < index.LineCount(5); ++line) {
    const HttpReply page = service.Handle(Get("/source/5/" + std::to_string(line)));
    ASSERT_EQ(page.status, 200);
    EXPECT_EQ(Utf8ToUtf16(Marked(page.body)), index.Text(5, line));
    EXPECT_NE(page.body.find("<h1 class=\"heading\">《水调歌头》</h1>"), std::string::npos);
    if (index.Text(5, line) == u"今夕是何年") {
      EXPECT_NE(
          page.body.find("<p>明月几时有？把酒问青天。不知天上宫阙，<mark>今夕是何年</mark>。</p>"),
          std::string::npos);
      EXPECT_EQ(page.body.find("落日"), std::string::npos);
    }
    if (index.Text(5, line) == u"亭下水连空") second = page.body;
  }
  // The second poem of the same title is its own, not the first's.
  EXPECT_NE(second.find("<p>落日绣帘卷，<mark>亭下水连空</mark>。</p>"), std::string::npos);
  EXPECT_EQ(second.find("明月"), std::string::npos);
  // In the poet's characters.
  const HttpReply written = service.Handle(Get("/source/5/0?script=traditional"));
  EXPECT_NE(written.body.find("<html lang=\"zh-Hant\">"), std::string::npos);
  EXPECT_NE(written.body.find("<h1 class=\"heading\">《水調歌頭》</h1>"), std::string::npos);
  EXPECT_NE(written.body.find("不知天上宮闕"), std::string::npos);
}

TEST_F(BrowserTest, AForgedSourceAddressIsAMissingPageInChinese) {
  const std::string lines = std::to_string(Corpus().LineCount(5));
  for (const std::string& forged :
       {"/source/5/" + lines, std::string("/source/5/99999999999"), std::string("/source/6/1"),
        std::string("/source/5/01"), std::string("/source/5/-1"), std::string("/source/5/"),
        std::string("/source/5/1x"), std::string("/source/5/1/2")}) {
    const HttpReply reply = service_.Handle(Get(forged));
    EXPECT_EQ(reply.status, 404) << forged;
    EXPECT_NE(reply.body.find("找不到这一页"), std::string::npos) << forged;
  }
  HttpRequest post = Get("/source/5/0");
  post.method = "POST";
  EXPECT_EQ(service_.Handle(post).status, 405);
}

TEST_F(BrowserTest, ASourcePageLeadsBackOnlyToAPoemOfOurs) {
  const auto [address, page] = Follow("/poem?xing=" + PercentEncode("春风") + "&gender=5");
  EXPECT_EQ(Back(service_.Handle(Get("/source/5/0?from=" + PercentEncode(address))).body), address);
  for (const std::string forged :
       {"//evil.example/x", "https://evil.example/", "javascript:alert(1)", "/source/5/0",
        "/%E6%98%A5/%E4%BA%94%E8%A8%80%E8%97%8F%E5%A4%B4/1?x=\"><script>"}) {
    const HttpReply reply = service_.Handle(Get("/source/5/0?from=" + PercentEncode(forged)));
    ASSERT_EQ(reply.status, 200) << forged;
    EXPECT_EQ(Back(reply.body), "") << forged;
    EXPECT_EQ(reply.body.find("evil"), std::string::npos) << forged;
    EXPECT_EQ(reply.body.find("<script>"), std::string::npos) << forged;
  }
}

TEST_F(BrowserTest, TheScriptChoiceGoesWithThePoemWhereverItGoes) {
  const auto [address, page] =
      Follow("/poem?xing=" + PercentEncode("国城") + "&gender=5&script=traditional");
  const std::string plain = address.substr(0, address.find('?'));
  EXPECT_EQ(address, plain + "?script=traditional");
  ASSERT_EQ(page.status, 200);
  const HttpReply simplified = service_.Handle(Get(plain));
  // 舊文's lines as the corpus writes them, the hidden character too.
  const std::vector<std::string> lines = Lines(page.body);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "國破山河在");
  EXPECT_EQ(Lines(simplified.body)[0], "国破山河在");
  EXPECT_NE(page.body.find("<html lang=\"zh-Hant\">"), std::string::npos);
  EXPECT_NE(page.body.find("<h1>藏頭詩"), std::string::npos);
  EXPECT_NE(page.body.find("download=\"藏頭詩-國城.svg\""), std::string::npos);

  // The switch, the swap, the sources, the pictures and the form keep it.
  EXPECT_NE(page.body.find("<a href=\"" + plain + "\" lang=\"zh-Hans\">&#31616;</a>"),
            std::string::npos);
  EXPECT_NE(page.body.find("lang=\"zh-Hant\" aria-current=\"page\">繁</a>"), std::string::npos);
  const auto [swapped, after] = Follow(address + "&swap=1");
  EXPECT_NE(swapped.find("script=traditional"), std::string::npos) << swapped;
  ASSERT_EQ(after.status, 200) << swapped << " -> " << Header(after, "Location");
  EXPECT_EQ(Lines(after.body)[0], "國破山河在");
  EXPECT_NE(Lines(after.body)[1], lines[1]);  // 城 has one line: a made one stands in
  for (const std::string& link : SourceLinks(page.body)) {
    EXPECT_NE(link.find("?script=traditional&from="), std::string::npos) << link;
  }
  const std::string svg = address.substr(0, address.find('?')) + ".svg?script=traditional";
  EXPECT_NE(page.body.find(svg), std::string::npos);
  EXPECT_EQ(PictureLines(service_.Handle(Get(svg)).body), lines);
  const HttpReply edit = service_.Handle(Get("/?xing=x&script=traditional"));
  EXPECT_NE(edit.body.find("name=\"script\" value=\"traditional\" checked"), std::string::npos);
  EXPECT_NE(page.body.find("&amp;script=traditional\">修改</a>"), std::string::npos);
  // Unknown or simplified: the plain address.
  EXPECT_EQ(Header(service_.Handle(Get(plain + "?script=simplified")), "Location"), plain);
  EXPECT_EQ(Header(service_.Handle(Get(plain + "?script=klingon")), "Location"), plain);
}

TEST_F(BrowserTest, ATraditionalPictureReadsBackAsTheSimplifiedPoem) {
  const auto [address, page] = Follow("/poem?xing=" + PercentEncode("国城春风") + "&gender=5");
  const std::vector<std::string> simplified = Lines(page.body);
  const std::vector<std::string> written =
      PictureLines(service_.Handle(Get(address + ".svg?script=traditional")).body);
  ASSERT_EQ(written.size(), simplified.size());
  for (size_t i = 0; i < written.size(); ++i) {
    EXPECT_EQ(Utf16ToUtf8(Corpus().Poems().Simplify(Utf8ToUtf16(written[i]))), simplified[i]);
  }
  EXPECT_NE(written, simplified);  // 國 is not 国
}

// The characters of a page's words that the pages' own conversion would
// still change: those left in simplified characters. Addresses and form
// values (the hidden characters as typed) are left out.
std::string Unconverted(const std::string& page) {
  static const TraditionalConverter converter = *TraditionalConverter::Open();
  std::string words = std::regex_replace(page, std::regex("(href|content|value)=\"[^\"]*\""), "");
  words = std::regex_replace(words, std::regex("<a id=\"share\"[^>]*>[^<]*</a>"), "");
  const std::u16string text = Utf8ToUtf16(words);
  const std::u16string converted = converter.Convert(text);
  std::u16string left;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != converted[i] && left.find(text[i]) == std::u16string::npos) left += text[i];
  }
  return Utf16ToUtf8(left);
}

TEST_F(BrowserTest, ATraditionalPagesOwnWordsAreAllInTraditionalCharacters) {
  const std::string traditional = "script=traditional";
  const auto [address, page] =
      Follow("/poem?xing=" + PercentEncode("国城春风") + "&gender=5&pinyin=1&" + traditional);
  ASSERT_EQ(page.status, 200);
  EXPECT_NE(page.body.find("複製全詩"), std::string::npos);
  EXPECT_NE(page.body.find(">換</a>"), std::string::npos);
  EXPECT_EQ(page.body.find("复制"), std::string::npos);
  EXPECT_EQ(page.body.find("换"), std::string::npos);
  EXPECT_EQ(Unconverted(page.body), "");
  for (const std::string& other :
       {"/?" + traditional, "/poem?xing=abc&" + traditional, "/source/5/0?" + traditional,
        "/nothing-here?" + traditional, "/source/5/999999?" + traditional}) {
    const HttpReply reply = service_.Handle(Get(other));
    EXPECT_NE(reply.body.find("<html lang=\"zh-Hant\">"), std::string::npos) << other;
    EXPECT_EQ(Unconverted(reply.body), "") << other;
  }
  // The simplified pages are in simplified characters.
  EXPECT_NE(Unconverted(service_.Handle(Get("/")).body), "");
}

}  // namespace
}  // namespace miravel::poemd
