#include "poemd/serve/poem_service.h"

#include <gtest/gtest.h>

#include <set>

#include "common/list_items.h"
#include "poemd/testing/testing_corpus.h"
#include "text/gbk_unicode.h"

namespace miravel::poemd {
namespace {

const CorpusIndex& Corpus() {
  static const CorpusIndex index = testing::MadeUpCorpus();
  return index;
}

HttpRequest Request(std::string method, std::string target, std::string body = {}) {
  HttpRequest request;
  request.method = std::move(method);
  request.target = std::move(target);
  request.body = std::move(body);
  return request;
}

// The poem lines of a page, as list items, tags taken out.
std::vector<std::u16string> Items(const std::string& page) {
  std::vector<std::u16string> lines;
  for (const std::string& item : ListItemTexts(page)) lines.push_back(GbkToUtf16(item));
  return lines;
}

TEST(PoemService, ComposesInEveryPlace) {
  const PoemService service(Corpus(), {.seed = 42});
  const std::pair<const char*, int> modes[] = {{"cangtou", 0}, {"cangzhong", 2}, {"cangwei", 4}};
  for (const auto& [mode, at] : modes) {
    const HttpReply reply = service.Compose(
        std::string("xing=%B4%BA%B7%E7%BB%A8%D4%C2&gender=5&type_str=&classid=0&num=") + mode +
        "&limit=100");
    ASSERT_EQ(reply.status, 200) << reply.body;
    EXPECT_EQ(reply.content_type, "text/html; charset=gbk");
    const std::vector<std::u16string> lines = Items(reply.body);
    ASSERT_EQ(lines.size(), 4u) << mode;
    for (size_t i = 0; i < 4; ++i) {
      EXPECT_EQ(lines[i].size(), 5u);
      EXPECT_EQ(lines[i][at], u"春风花月"[i]) << mode;
    }
  }
}

TEST(PoemService, PageIsValidGbkWithSimplifiedSourcesAndTheirDynasty) {
  const PoemService service(Corpus(), {.seed = 1});
  for (const char* num : {"cangtou", "cangzhong", "cangwei"}) {
    const std::string page =
        service.Compose(std::string("xing=%B9%FA&gender=5&num=") + num + "&limit=200").body;
    const std::u16string text = GbkToUtf16(page);
    // No replacement characters: every byte sequence decodes as GBK.
    EXPECT_EQ(text.find(u'\uFFFD'), std::u16string::npos) << num;
    EXPECT_NE(text.find(u"五言 · "), std::u16string::npos) << num;
  }
  // 国破山河在 comes from 舊文, a traditional title, of the Tang.
  const std::u16string page =
      GbkToUtf16(service.Compose("xing=%B9%FA&gender=5&num=cangtou&limit=100").body);
  EXPECT_NE(page.find(u"〔唐〕庚《旧文》"), std::u16string::npos);
}

TEST(PoemService, MadeLinesAreMarkedAndARefusalEscapesWhatWasSent) {
  const PoemService service(Corpus(), {.seed = 1});
  const std::string page = service.Compose("xing=%FD%88&gender=5&num=cangtou&limit=100").body;
  EXPECT_NE(page.find(Utf16ToGbk(u"（改字）")), std::string::npos);
  EXPECT_NE(page.find("<font style=\"color:red\">\xFD\x88</font>"), std::string::npos);
  const std::string refused = service.Compose("xing=%3Cb%3E&gender=5&num=cangtou&limit=100").body;
  EXPECT_NE(refused.find("&lt;"), std::string::npos);
  EXPECT_EQ(refused.find("<b>"), std::string::npos);
}

TEST(PoemService, SeedMakesItReproducibleWithoutSeedItVaries) {
  const std::string body = "xing=%B4%BA%B7%E7&gender=5&num=cangtou&limit=100";
  const PoemService seeded(Corpus(), {.seed = 9});
  EXPECT_EQ(seeded.Compose(body).body, seeded.Compose(body).body);
  const CorpusIndex even = testing::EvenChoiceCorpus();
  const PoemService unseeded(even, {});
  std::set<std::string> pages;
  for (int i = 0; i < 20; ++i) pages.insert(unseeded.Compose(body).body);
  EXPECT_GT(pages.size(), 1u);
}

TEST(PoemService, BadBodiesGet400WithAReason) {
  const PoemService service(Corpus(), {.seed = 1});
  const HttpReply reply = service.Compose("xing=%B4&gender=5&num=cangtou&limit=100");
  EXPECT_EQ(reply.status, 400);
  EXPECT_NE(reply.body.find(Utf16ToGbk(u"半个汉字")), std::string::npos);
  EXPECT_EQ(service.Compose("gender=5").status, 400);
  // Past the limit, by characters that could each be hidden.
  std::string xing;
  for (int i = 0; i <= 100; ++i) xing += "%B4%BA";
  const HttpReply many = service.Compose("xing=" + xing + "&gender=5&num=cangtou&limit=100");
  EXPECT_EQ(many.status, 400);
  EXPECT_NE(many.body.find(Utf16ToGbk(u"最多可藏 100 个字，你输入了 101 个")), std::string::npos);
}

TEST(PoemService, Routes) {
  const PoemService service(Corpus(), {.seed = 1});
  EXPECT_EQ(service.Handle(Request("GET", "/")).status, 200);
  EXPECT_NE(service.Handle(Request("GET", "/")).body.find("action=\"/poem\""), std::string::npos);
  EXPECT_EQ(service.Handle(Request("GET", "/healthz")).status, 200);
  EXPECT_EQ(service.Handle(Request("GET", "/healthz")).body, "ok\n");
  const HttpReply get_poem = service.Handle(Request("GET", "/qm/cts.php"));
  EXPECT_EQ(get_poem.status, 405);
  ASSERT_EQ(get_poem.headers.size(), 1u);
  EXPECT_EQ(get_poem.headers[0], (std::pair<std::string, std::string>{"Allow", "POST"}));
  EXPECT_EQ(service.Handle(Request("PUT", "/")).status, 405);
  EXPECT_EQ(service.Handle(Request("GET", "/elsewhere")).status, 404);
  EXPECT_EQ(
      service
          .Handle(Request("POST", "/qm/cts.php?x=1", "xing=%B4%BA&gender=5&num=cangtou&limit=100"))
          .status,
      200);
}

TEST(PoemService, TheLogCountsTheHiddenCharactersUnlessAskedForThem) {
  const std::string body = "xing=%B4%BA%B7%E7&gender=7&num=cangtou&limit=200";
  EXPECT_EQ(PoemService(Corpus(), {.seed = 1}).Compose(body).log_note,
            "2 characters 7 cangtou 200 both");
  EXPECT_EQ(PoemService(Corpus(), {.seed = 1, .log_characters = true, .book = RhymeBook::kXinyun})
                .Compose(body)
                .log_note,
            "春风 7 cangtou 200 xinyun");
}

TEST(PoemService, HealthSaysWhenTheServiceIsGoing) {
  const PoemService service(Corpus(), {.seed = 1});
  HttpRequest health;
  health.method = "GET";
  health.target = "/healthz";
  EXPECT_EQ(service.Handle(health).status, 200);
  service.StartDraining();
  EXPECT_EQ(service.Handle(health).status, 503);
  HttpRequest poem;
  poem.method = "POST";
  poem.target = "/qm/cts.php";
  poem.body = "xing=%B4%BA&gender=5&num=cangtou&limit=100";
  EXPECT_EQ(service.Handle(poem).status, 200);  // what still comes is served
}

}  // namespace
}  // namespace miravel::poemd
