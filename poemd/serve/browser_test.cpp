// The browser's pages through the service's routes: the form read kindly,
// poems at their own addresses, swaps, diagonal hiding.
#include <gtest/gtest.h>

#include <map>
#include <regex>

#include "poemd/http/form_body.h"
#include "poemd/serve/browser_testing.h"
#include "poemd/serve/poem_service.h"
#include "poemd/serve/requests/browser_request.h"
#include "poemd/testing/testing_corpus.h"
#include "text/gbk_unicode.h"

namespace miravel::poemd {
namespace {

TEST_F(BrowserTest, ANewPoemSettlesAtAnAddressThatBringsItBack) {
  const auto [address, page] =
      Follow("/poem?xing=%E6%98%A5%E9%A3%8E&gender=5&num=cangtou&limit=100");
  // Short: the hidden characters, the form and the seed, nothing else.
  EXPECT_TRUE(std::regex_match(address, std::regex("/" + PercentEncode("春风") + "/" +
                                                   PercentEncode("五言藏头") + "/[0-9a-z]{1,7}")))
      << address;
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
  const std::string seeded = address;
  for (const std::string forged :
       {"?lines=0.x", "?lines=99999999999.1", "?lines=1", "?lines=1.1.1", "?lines=m0.m0"}) {
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
  const auto [swapped_address, swapped] = Follow(address + "?swap=2");
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
  // Absolute addresses only of the poem itself (it is asked for without a
  // Host, so at localhost), none elsewhere.
  const std::regex absolute("https?://([^/\"]*)");
  for (auto it = std::sregex_iterator(page.body.begin(), page.body.end(), absolute);
       it != std::sregex_iterator(); ++it) {
    EXPECT_EQ((*it)[1].str(), "localhost") << (*it)[0];
  }
}

TEST_F(BrowserTest, ThePageNamesTheKindTheBookAndTheRhymeAndShowsTheMetre) {
  const auto [address, page] =
      Follow("/poem?xing=" + PercentEncode("春风") + "&gender=5&num=cangzhong&book=pingshui");
  EXPECT_NE(address.find("/" + PercentEncode("五言藏中平水韵") + "/"), std::string::npos)
      << address;
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

TEST_F(BrowserTest, ThePageSaysWhatThePoemIsForAndLetsTheReaderChangeIt) {
  // Found from the characters: a birthday.
  const auto [found, page] = Follow("/poem?xing=" + PercentEncode("生日快乐") + "&gender=5");
  EXPECT_NE(found.find("/" + PercentEncode("五言藏头") + "/"), std::string::npos) << found;
  EXPECT_NE(page.body.find("场合：祝寿（由所藏的字看出）"), std::string::npos);
  EXPECT_NE(page.body.find("<option value=\"auto\" selected>自动</option>"), std::string::npos);
  // The little form asks for another poem of the same characters and form.
  EXPECT_NE(page.body.find("<form class=\"occasion\" method=\"get\" action=\"/poem\">"),
            std::string::npos);
  EXPECT_NE(page.body.find("<input type=\"hidden\" name=\"xing\" value=\"生日快乐\">"),
            std::string::npos);
  // Asked for: said in the address and on the page, and chosen on the form.
  const auto [asked, changed] =
      Follow("/poem?xing=" + PercentEncode("生日快乐") + "&gender=5&occasion=farewell");
  EXPECT_NE(asked.find("/" + PercentEncode("五言藏头送别") + "/"), std::string::npos) << asked;
  EXPECT_NE(changed.body.find("场合：送别</span>"), std::string::npos);
  EXPECT_NE(changed.body.find("<option value=\"farewell\" selected>送别</option>"),
            std::string::npos);
  EXPECT_EQ(service_.Handle(Get(asked)).body, changed.body);
  // The form offers the occasions, the one asked checked.
  const HttpReply form = service_.Handle(Get("/?xing=" + PercentEncode("李娜") + "&occasion=none"));
  EXPECT_NE(form.body.find("name=\"occasion\" value=\"none\" checked"), std::string::npos);
  EXPECT_NE(form.body.find("name=\"occasion\" value=\"birthday\">"), std::string::npos);
}

TEST_F(BrowserTest, ASharedLinkIsAbsoluteAndPreviewsThePoemAndItsPicture) {
  HttpRequest asked = Get("/poem?xing=" + PercentEncode("春风花月") + "&gender=5&num=cangtou");
  asked.host = "poems.example:8080";
  const std::string address = Header(service_.Handle(asked), "Location");
  asked.target = address;
  const HttpReply page = service_.Handle(asked);
  ASSERT_EQ(page.status, 200);
  const std::string base = "http://poems.example:8080";
  const std::string own = base + address;
  EXPECT_NE(page.body.find("<a id=\"share\" href=\"" + own + "\">"), std::string::npos);
  // Shown as people read it: the characters themselves.
  EXPECT_NE(page.body.find(">" + base + "/春风花月/五言藏头/"), std::string::npos);
  EXPECT_NE(page.body.find("id=\"copy-link\""), std::string::npos);
  EXPECT_EQ(MetaContent(page.body, "og:url"), own);
  EXPECT_EQ(MetaContent(page.body, "og:title"), "藏头诗 · 春风花月");
  EXPECT_EQ(MetaContent(page.body, "twitter:card"), "summary_large_image");
  const std::vector<std::string> lines = Lines(page.body);
  EXPECT_EQ(MetaContent(page.body, "og:description"),
            lines[0] + "，" + lines[1] + "。" + lines[2] + "，" + lines[3] + "。");

  // The preview's picture is served there, a PNG of the size the page says.
  const std::string image = MetaContent(page.body, "og:image");
  EXPECT_EQ(MetaContent(page.body, "twitter:image"), image);
  const HttpReply png = service_.Handle(Get(Target(image, base)));
  ASSERT_EQ(png.status, 200);
  EXPECT_EQ(png.content_type, "image/png");
  ASSERT_GT(png.body.size(), 24u);
  EXPECT_EQ(png.body.substr(0, 8), "\x89PNG\r\n\x1a\n");
  const auto big_endian = [&](size_t at) {
    return (static_cast<unsigned char>(png.body[at]) << 24) |
           (static_cast<unsigned char>(png.body[at + 1]) << 16) |
           (static_cast<unsigned char>(png.body[at + 2]) << 8) |
           static_cast<unsigned char>(png.body[at + 3]);
  };
  EXPECT_EQ(std::to_string(big_endian(16)), MetaContent(page.body, "og:image:width"));
  EXPECT_EQ(std::to_string(big_endian(20)), MetaContent(page.body, "og:image:height"));

  // The picture says what the page says.
  const std::string svg_address = image.substr(0, image.size() - 4) + ".svg";
  EXPECT_NE(page.body.find("href=\"" + svg_address + "\""), std::string::npos);
  const HttpReply svg = service_.Handle(Get(Target(svg_address, base)));
  ASSERT_EQ(svg.status, 200);
  EXPECT_EQ(svg.content_type, "image/svg+xml; charset=utf-8");
  EXPECT_EQ(PictureLines(svg.body), lines);
}

TEST_F(BrowserTest, ASwappedPoemKeepsItsLinesInItsLinkAndItsPicture) {
  const auto [address, page] = Follow("/poem?xing=" + PercentEncode("春风花月") + "&gender=5");
  const auto [swapped_address, swapped] = Follow(address + "?swap=2");
  ASSERT_NE(swapped_address.find("?lines="), std::string::npos) << swapped_address;
  ASSERT_EQ(swapped.status, 200) << swapped_address << " -> " << Header(swapped, "Location");
  const std::string image = MetaContent(swapped.body, "og:image");
  ASSERT_NE(image.find(".png?lines="), std::string::npos) << image;
  const std::string svg =
      image.substr(0, image.find(".png")) + ".svg" + image.substr(image.find('?'));
  EXPECT_EQ(PictureLines(service_.Handle(Get(Target(svg, "http://localhost"))).body),
            Lines(swapped.body));
}

TEST_F(BrowserTest, ALongPoemsPictureTakesPages) {
  std::string hidden;
  for (int i = 0; i < 5; ++i) hidden += "春风花月";
  const auto [address, page] = Follow("/poem?xing=" + PercentEncode(hidden) + "&gender=5");
  ASSERT_EQ(Lines(page.body).size(), 20u);
  EXPECT_NE(page.body.find("id=\"picture-2\""), std::string::npos);
  EXPECT_EQ(page.body.find("id=\"picture-3\""), std::string::npos);
  const std::string picture = address + ".svg";
  std::vector<std::string> drawn = PictureLines(service_.Handle(Get(picture)).body);
  const std::vector<std::string> second =
      PictureLines(service_.Handle(Get(picture + "?page=2")).body);
  // Two blocks share a column's place: sixteen lines on the first page as
  // eight columns of two lines each.
  ASSERT_EQ(drawn.size(), 8u);
  EXPECT_EQ(second.size(), 4u);
  EXPECT_EQ(service_.Handle(Get(picture + "?page=3")).status, 404);
  EXPECT_EQ(drawn[0], Lines(page.body)[0] + Lines(page.body)[8]);
  EXPECT_EQ(second[0], Lines(page.body)[16]);
}

TEST_F(BrowserTest, PictureDownloadsAreNamedAfterThePoemsKindAndItsCharacters) {
  const auto [tail, tail_page] =
      Follow("/poem?xing=" + PercentEncode("春风") + "&gender=5&num=cangwei");
  EXPECT_NE(tail_page.body.find("download=\"藏尾诗-春风.png\""), std::string::npos);
  EXPECT_NE(tail_page.body.find("download=\"藏尾诗-春风.svg\""), std::string::npos);
  // Twenty characters at most; a picture of pages numbers them.
  std::string hidden;
  for (int i = 0; i < 6; ++i) hidden += "春风花月";
  const auto [rising, rising_page] =
      Follow("/poem?xing=" + PercentEncode(hidden) + "&gender=5&num=dizeng");
  const std::string twenty = hidden.substr(0, 20 * std::string("春").size());
  EXPECT_NE(rising_page.body.find("download=\"递增藏字诗-" + twenty + "-2.png\""),
            std::string::npos);
}

TEST_F(BrowserTest, AMadeLineIsMarkedInThePicture) {
  const auto [address, page] = Follow("/poem?xing=" + PercentEncode("春龘") + "&gender=5");
  const HttpReply svg = service_.Handle(Get(address + ".svg"));
  EXPECT_NE(svg.body.find("fill=\"#b22222\">改</text>"), std::string::npos);
  EXPECT_NE(svg.body.find("fill=\"#b22222\">龘</text>"), std::string::npos);
}

TEST_F(BrowserTest, AHostHeaderThatIsNoHostNeverReachesThePage) {
  const auto [address, page] = Follow("/poem?xing=" + PercentEncode("春风") + "&gender=5");
  HttpRequest asked = Get(address);
  asked.host = "x\"><script>alert(1)</script>";
  const std::string body = service_.Handle(asked).body;
  EXPECT_EQ(body.find("alert(1)"), std::string::npos);
  EXPECT_NE(body.find("href=\"http://localhost/"), std::string::npos);
  // An operator's own address wins over the Host.
  const PoemService public_service(Corpus(),
                                   {.seed = 5, .public_url = "https://poems.example.org"});
  asked.host = "127.0.0.1:8080";
  EXPECT_EQ(MetaContent(public_service.Handle(asked).body, "og:url"),
            "https://poems.example.org" + address);
}

TEST_F(BrowserTest, MistakesAndMissingPagesAreSaidInChineseOnPagesWithAHeading) {
  // An empty box: the form's own message, tied to the box.
  const HttpReply empty = service_.Handle(Get("/poem?xing=&gender=5&num=cangtou"));
  EXPECT_EQ(empty.status, 400);
  EXPECT_NE(empty.body.find("请输入要藏的字"), std::string::npos);
  EXPECT_NE(empty.body.find(
                "id=\"xing\" name=\"xing\" value=\"\" placeholder=\"例如：春风花月\" "
                "autocomplete=\"off\" aria-invalid=\"true\" aria-describedby=\"error xing-hint\""),
            std::string::npos)
      << empty.body;
  EXPECT_EQ(empty.body.find(" required"), std::string::npos);
  // A theme too long marks the theme, not the characters.
  std::string long_theme;
  for (size_t i = 0; i <= kMaxThemeCharacters; ++i) long_theme += "春";
  const HttpReply theme = service_.Handle(
      Get("/poem?xing=" + PercentEncode("春") + "&theme=" + PercentEncode(long_theme)));
  ASSERT_EQ(theme.status, 400);
  EXPECT_NE(theme.body.find("aria-invalid=\"true\" aria-describedby=\"error theme-hint\""),
            std::string::npos);
  EXPECT_EQ(theme.body.find("aria-describedby=\"error xing-hint\""), std::string::npos);
  EXPECT_NE(service_.Handle(Get("/")).body.find("<h1"), std::string::npos);
  for (const std::string path : {"/nothing", "/favicon.png", "/春风/五言/k3", "/poem/x"}) {
    const HttpReply lost = service_.Handle(Get(path));
    EXPECT_EQ(lost.status, 404) << path;
    EXPECT_EQ(lost.content_type, "text/html; charset=utf-8") << path;
    EXPECT_NE(lost.body.find("<h1 class=\"heading\">找不到这一页</h1>"), std::string::npos) << path;
    EXPECT_NE(lost.body.find("<html lang=\"zh-CN\">"), std::string::npos) << path;
  }
  HttpRequest put = Get("/");
  put.method = "PUT";
  const HttpReply wrong = service_.Handle(put);
  EXPECT_EQ(wrong.status, 405);
  EXPECT_EQ(Header(wrong, "Allow"), "GET, HEAD");
  EXPECT_NE(wrong.body.find("<h1"), std::string::npos);
}

TEST_F(BrowserTest, TheFaviconIsTheProjectsIconInAnIco) {
  const HttpReply icon = service_.Handle(Get("/favicon.ico"));
  ASSERT_EQ(icon.status, 200);
  EXPECT_EQ(icon.content_type, "image/x-icon");
  const std::string& ico = icon.body;
  ASSERT_GE(ico.size(), 38u);
  const auto word = [&](size_t at) {
    return static_cast<unsigned char>(ico[at]) | (static_cast<unsigned char>(ico[at + 1]) << 8);
  };
  EXPECT_EQ(word(0), 0);
  EXPECT_EQ(word(2), 1);  // an icon
  ASSERT_EQ(word(4), 2);  // two drawings
  for (size_t entry = 0; entry < 2; ++entry) {
    const size_t at = 6 + 16 * entry;
    EXPECT_EQ(static_cast<unsigned char>(ico[at]), entry == 0 ? 16 : 32);
    const size_t size = word(at + 8) | (word(at + 10) << 16);
    const size_t offset = word(at + 12) | (word(at + 14) << 16);
    ASSERT_LE(offset + size, ico.size());
    EXPECT_EQ(ico.substr(offset, 8), "\x89PNG\r\n\x1a\n");
  }
}

}  // namespace
}  // namespace miravel::poemd
