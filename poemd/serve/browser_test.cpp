// The browser's pages through the service's routes: the form read kindly,
// poems at their own addresses, swaps, diagonal hiding.
#include <gtest/gtest.h>

#include <map>
#include <regex>

#include "poemd/http/form_body.h"
#include "poemd/serve/browser_form.h"
#include "poemd/serve/poem_service.h"
#include "poemd/testing/testing_corpus.h"
#include "text/gbk_unicode.h"

namespace miravel::poemd {
namespace {

const CorpusIndex& Corpus() {
  static const CorpusIndex index = testing::MadeUpCorpus();
  return index;
}

HttpRequest Get(const std::string& target) {
  HttpRequest request;
  request.method = "GET";
  request.target = target;
  return request;
}

std::string Header(const HttpReply& reply, const std::string& name) {
  for (const auto& [key, value] : reply.headers) {
    if (key == name) return value;
  }
  return "";
}

// The poem's lines on a page, tags taken out.
std::vector<std::string> Lines(const std::string& page) {
  std::vector<std::string> lines;
  const std::regex text("<span class=\"text\">(.*?)</span>");
  for (auto it = std::sregex_iterator(page.begin(), page.end(), text); it != std::sregex_iterator();
       ++it) {
    lines.push_back(std::regex_replace((*it)[1].str(), std::regex("</?em>"), ""));
  }
  return lines;
}

class BrowserTest : public ::testing::Test {
 protected:
  // Follows the service's redirect to the poem's own address.
  std::pair<std::string, HttpReply> Follow(const std::string& target) {
    HttpReply reply = service_.Handle(Get(target));
    EXPECT_EQ(reply.status, 303) << reply.body;
    const std::string address = Header(reply, "Location");
    return {address, service_.Handle(Get(address))};
  }

  PoemService service_{Corpus(), {.seed = 5}};
};

TEST_F(BrowserTest, ANewPoemSettlesAtAnAddressThatBringsItBack) {
  const auto [address, page] =
      Follow("/poem?xing=%E6%98%A5%E9%A3%8E&gender=5&num=cangtou&limit=100");
  EXPECT_NE(address.find("&seed="), std::string::npos);
  EXPECT_NE(address.find("&lines="), std::string::npos);
  ASSERT_EQ(page.status, 200);
  EXPECT_EQ(page.content_type, "text/html; charset=utf-8");
  const std::vector<std::string> lines = Lines(page.body);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_TRUE(lines[0].starts_with("春"));
  EXPECT_TRUE(lines[1].starts_with("风"));
  // Another service, seeded otherwise, brings back the same poem.
  const PoemService other(Corpus(), {.seed = 99});
  EXPECT_EQ(Lines(other.Handle(Get(address)).body), lines);
}

TEST_F(BrowserTest, AnAddressNamingLinesThatCannotStandSettlesAtThePoemGiven) {
  const auto [address, page] =
      Follow("/poem?xing=%E6%98%A5%E9%A3%8E&gender=5&num=cangtou&limit=100");
  const std::string seeded = address.substr(0, address.find("&lines="));
  for (const std::string forged :
       {"&lines=0.x", "&lines=99999999999.1", "&lines=1", "&lines=1.1.1", "&lines=m0.m0"}) {
    const auto [settled, again] = Follow(seeded + forged);
    EXPECT_NE(settled, seeded + forged);
    EXPECT_EQ(again.status, 200) << forged;
    EXPECT_EQ(Lines(again.body).size(), 2u) << forged;
    EXPECT_EQ(service_.Handle(Get(settled)).body, again.body) << forged;
  }
}

TEST_F(BrowserTest, ASwapChangesExactlyOneLine) {
  const auto [address, page] =
      Follow("/poem?xing=%E6%98%A5%E9%A3%8E%E8%8A%B1%E6%9C%88&gender=5&num=cangtou&limit=100");
  const std::vector<std::string> before = Lines(page.body);
  ASSERT_EQ(before.size(), 4u);
  const auto [swapped_address, swapped] = Follow(address + "&swap=2");
  const std::vector<std::string> after = Lines(swapped.body);
  ASSERT_EQ(after.size(), 4u);
  EXPECT_EQ(after[0], before[0]);
  EXPECT_EQ(after[1], before[1]);
  EXPECT_NE(after[2], before[2]);
  EXPECT_TRUE(after[2].starts_with("花"));
  EXPECT_EQ(after[3], before[3]);
  EXPECT_NE(swapped_address, address);
}

TEST_F(BrowserTest, DiagonalHidingPutsEachCharacterAtItsPosition) {
  const std::string hidden = "春风花月春风";  // six lines: the position wraps past five
  const std::string query = "xing=" + PercentEncode(hidden) + "&gender=5&limit=100&num=";
  for (const std::string mode : {"dizeng", "dijian"}) {
    const auto [address, page] = Follow("/poem?" + query + mode);
    const std::vector<std::string> lines = Lines(page.body);
    ASSERT_EQ(lines.size(), 6u) << mode;
    const std::regex hidden_at("<span class=\"text\">([^<]*)<em>");
    std::vector<size_t> positions;
    for (auto it = std::sregex_iterator(page.body.begin(), page.body.end(), hidden_at);
         it != std::sregex_iterator(); ++it) {
      positions.push_back((*it)[1].str().size() / 3);  // UTF-8: three bytes a character
    }
    const std::vector<size_t> rising = {0, 1, 2, 3, 4, 0};
    const std::vector<size_t> falling = {4, 3, 2, 1, 0, 4};
    EXPECT_EQ(positions, mode == "dizeng" ? rising : falling) << mode;
  }
}

TEST_F(BrowserTest, BadInputIsRefusedInChineseWithWhatWasTypedKept) {
  const std::map<std::string, std::string> cases = {
      {"", "请输入要藏的字"},
      {"abc", "不是汉字"},
      {"春 风", "空格"},
      {"春，风", "“，”"},
      {"春\xF0\x9F\x98\x80", "“\xF0\x9F\x98\x80”"},  // an emoji
      {"\xF0\xA0\x80\x80", "不在 GBK"},              // U+20000: Han, but not in GBK
  };
  std::vector<std::pair<std::string, std::string>> all(cases.begin(), cases.end());
  std::string too_many;
  for (int k = 0; k < 101; ++k) too_many += "春";
  all.emplace_back(too_many, "最多可藏 100 个字，你输入了 101 个");
  for (const auto& [typed, message] : all) {
    const HttpReply reply =
        service_.Handle(Get("/poem?xing=" + PercentEncode(typed) + "&gender=7&num=cangwei"));
    EXPECT_EQ(reply.status, 400) << typed;
    EXPECT_NE(reply.body.find("role=\"alert\""), std::string::npos) << typed;
    EXPECT_NE(reply.body.find(message), std::string::npos) << typed << reply.body;
    EXPECT_NE(reply.body.find("value=\"7\" checked"), std::string::npos);
    EXPECT_NE(reply.body.find("value=\"cangwei\" checked"), std::string::npos);
    if (typed.find(' ') == std::string::npos && !typed.empty()) {
      EXPECT_NE(reply.body.find("value=\"" + typed.substr(0, 6)), std::string::npos) << typed;
    }
  }
}

TEST_F(BrowserTest, TypedMarkupComesBackAsText) {
  const std::string typed = "\"><script>alert('x')</script>";
  const HttpReply reply = service_.Handle(Get("/poem?xing=" + PercentEncode(typed)));
  EXPECT_EQ(reply.status, 400);
  EXPECT_EQ(reply.body.find("<script>alert"), std::string::npos);
  EXPECT_NE(reply.body.find("value=\"&quot;&gt;&lt;script&gt;alert(&#39;x&#39;)"),
            std::string::npos)
      << reply.body;
}

TEST_F(BrowserTest, TheDesktopRouteRefusesWhatCannotBeHiddenWithAGbkPageInChinese) {
  HttpRequest post;
  post.method = "POST";
  post.target = "/qm/cts.php";
  for (const char* xing : {"abc", "%B4%BA+%BD%AD", "%B4%BA%21", "%A1%A1", "", "%B4"}) {
    post.body = std::string("xing=") + xing + "&gender=5&num=cangtou&limit=100";
    const HttpReply refused = service_.Handle(post);
    EXPECT_EQ(refused.status, 400) << xing;
    EXPECT_EQ(refused.content_type, "text/html; charset=gbk") << xing;
    EXPECT_EQ(refused.body.find("<li"), std::string::npos) << xing;
    EXPECT_NE(refused.body.find(Utf16ToGbk(u"不能作诗")), std::string::npos) << xing;
  }
  post.body = "xing=abc&gender=5&num=cangtou&limit=100";
  EXPECT_NE(service_.Handle(post).body.find(Utf16ToGbk(u"不是汉字")), std::string::npos);
}

TEST_F(BrowserTest, ThePoemPageNamesItsSourcesAndExplainsMadeLines) {
  // 龘 is in no line: its line is made.
  const auto [address, page] =
      Follow("/poem?xing=" + PercentEncode("春龘") + "&gender=5&num=cangtou&limit=100");
  EXPECT_NE(page.body.find("〔唐〕甲《春日》"), std::string::npos);
  EXPECT_NE(page.body.find("id=\"made\""), std::string::npos);
  EXPECT_NE(page.body.find("声调相合"), std::string::npos);
  EXPECT_EQ(page.body.find("<script src"), std::string::npos);  // nothing from elsewhere
  EXPECT_EQ(page.body.find("http://"), std::string::npos);
  EXPECT_EQ(page.body.find("https://"), std::string::npos);
}

TEST_F(BrowserTest, ThePageNamesTheKindTheBookAndTheRhymeAndShowsTheMetre) {
  const auto [address, page] =
      Follow("/poem?xing=" + PercentEncode("春风") + "&gender=5&num=cangzhong&book=pingshui");
  EXPECT_NE(address.find("book=pingshui"), std::string::npos);
  EXPECT_NE(page.body.find("<title>藏中诗 · 春风"), std::string::npos);
  EXPECT_NE(page.body.find("<p class=\"rhyme\">平水韵"), std::string::npos);
  EXPECT_NE(page.body.find("<summary>格律</summary>"), std::string::npos);
  EXPECT_NE(page.body.find("无三平尾"), std::string::npos);
  // Ten characters, a tone mark under each, in the one reading of the book.
  size_t marks = 0;
  for (size_t at = 0; (at = page.body.find("<span class=\"tone\">", at)) != std::string::npos;
       ++at) {
    ++marks;
  }
  EXPECT_EQ(marks, 10u);
  // The service's book is the form's default; an unknown one is passed over.
  const PoemService modern(Corpus(), {.seed = 5, .book = RhymeBook::kXinyun});
  const HttpReply form = modern.Handle(Get("/?book=guangyun"));
  EXPECT_NE(form.body.find("value=\"xinyun\" checked"), std::string::npos);
}

}  // namespace
}  // namespace miravel::poemd
