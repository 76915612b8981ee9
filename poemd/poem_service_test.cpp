#include "poemd/poem_service.h"

#include <gtest/gtest.h>

#include <set>
#include <thread>

#include "composer/control_names.h"
#include "composer/fake_toolkit.h"
#include "composer/result_extraction.h"
#include "poemd/testing_corpus.h"
#include "text/gbk_unicode.h"

namespace miravel::poemd {
namespace {

const CorpusIndex& Corpus() {
  static const CorpusIndex index = testing::MadeUpCorpus();
  return index;
}

// The lines the client's own extraction reads off a page.
std::vector<std::u16string> ClientLines(const std::string& page, const char* mode) {
  FakeToolkit toolkit;
  RegexObject regex;
  ExtractPoems(page, mode, regex, toolkit);
  std::vector<std::u16string> lines;
  const std::u16string box = GbkToUtf16(toolkit.edits[kResultEdit]);
  size_t from = 0;
  for (size_t end; (end = box.find(u"\r\n", from)) != std::u16string::npos; from = end + 2) {
    lines.push_back(box.substr(from, end - from));
  }
  return lines;
}

TEST(PoemService, PagesTheClientReadsBackInEveryMode) {
  const PoemService service(Corpus(), 42);
  const std::pair<const char*, int> modes[] = {{"cangtou", 0}, {"cangzhong", 2}, {"cangwei", 4}};
  for (const auto& [mode, at] : modes) {
    const ComposeReply reply = service.Compose(
        std::string("xing=%B4%BA%B7%E7%BB%A8%D4%C2&gender=5&type_str=&classid=0&num=") + mode +
        "&limit=100");
    ASSERT_EQ(reply.status, 200) << reply.body;
    EXPECT_EQ(reply.content_type, "text/html; charset=gbk");
    const std::vector<std::u16string> lines = ClientLines(reply.body, mode);
    ASSERT_EQ(lines.size(), 4u) << mode;
    for (size_t i = 0; i < 4; ++i) {
      EXPECT_EQ(lines[i].size(), 5u);
      EXPECT_EQ(lines[i][at], u"春风花月"[i]) << mode;
    }
  }
}

TEST(PoemService, ListItemShapesAndNothingElseIsAListItem) {
  const PoemService service(Corpus(), 1);
  const std::string head = service.Compose("xing=%B4%BA&gender=5&num=cangtou&limit=100").body;
  EXPECT_NE(head.find("\n<li><font style=\"color:red\">\xB4\xBA</font>"), std::string::npos);
  const std::string tail = service.Compose("xing=%B4%BA&gender=5&num=cangwei&limit=100").body;
  EXPECT_NE(tail.find("<font style=\"color:red\">\xB4\xBA</font></li>\n"), std::string::npos);
  size_t items = 0;
  for (size_t at = 0; (at = tail.find("<li", at)) != std::string::npos; ++at) ++items;
  EXPECT_EQ(items, 1u);
}

TEST(PoemService, PageIsValidGbkThroughout) {
  const PoemService service(Corpus(), 1);
  for (const char* num : {"cangtou", "cangzhong", "cangwei"}) {
    const std::string page =
        service.Compose(std::string("xing=%B4%BA%B7%E7&gender=5&num=") + num + "&limit=200").body;
    // No replacement characters: every byte sequence decodes as GBK.
    EXPECT_EQ(GbkToUtf16(page).find(u'\uFFFD'), std::u16string::npos) << num;
    EXPECT_NE(GbkToUtf16(page).find(u"五言 · "), std::u16string::npos) << num;
  }
}

TEST(PoemService, MadeLinesAreMarkedAndAsciiIsEscaped) {
  const PoemService service(Corpus(), 1);
  const std::string page = service.Compose("xing=%FD%88%3C&gender=5&num=cangtou&limit=100").body;
  EXPECT_NE(page.find(Utf16ToGbk(u"（改字）")), std::string::npos);
  EXPECT_NE(page.find("<font style=\"color:red\">&lt;</font>"), std::string::npos);
}

TEST(PoemService, SeedMakesItReproducibleWithoutSeedItVaries) {
  const std::string body = "xing=%B4%BA%B7%E7%BB%A8%D4%C2&gender=5&num=cangtou&limit=100";
  const PoemService seeded(Corpus(), 9);
  EXPECT_EQ(seeded.Compose(body).body, seeded.Compose(body).body);
  const CorpusIndex even = testing::EvenChoiceCorpus();
  const PoemService unseeded(even, std::nullopt);
  std::set<std::string> pages;
  for (int i = 0; i < 20; ++i)
    pages.insert(unseeded.Compose("xing=%B4%BA%B7%E7&gender=5&num=cangtou&limit=100").body);
  EXPECT_GT(pages.size(), 1u);
}

TEST(PoemService, BadBodiesGet400WithAReason) {
  const PoemService service(Corpus(), 1);
  const ComposeReply reply = service.Compose("xing=%B4&gender=5&num=cangtou&limit=100");
  EXPECT_EQ(reply.status, 400);
  EXPECT_NE(reply.body.find("GBK"), std::string::npos);
}

class PoemServiceHttpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    service_.Mount(server_, [this](const std::string& line) {
      std::lock_guard lock(log_mutex_);
      log_.push_back(line);
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    while (!server_.is_running()) std::this_thread::yield();
  }
  void TearDown() override {
    server_.stop();
    thread_.join();
  }
  httplib::Client Client() { return httplib::Client("127.0.0.1", port_); }

  PoemService service_{Corpus(), 3};
  httplib::Server server_;
  int port_ = 0;
  std::thread thread_;
  std::mutex log_mutex_;
  std::vector<std::string> log_;
};

TEST_F(PoemServiceHttpTest, PostComposesAndLogsOneLine) {
  auto client = Client();
  const auto res = client.Post(
      "/qm/cts.php", "xing=%B4%BA%B7%E7&gender=7&type_str=&classid=0&num=cangtou&limit=200",
      "application/x-www-form-urlencoded");
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 200);
  EXPECT_EQ(res->get_header_value("Content-Type"), "text/html; charset=gbk");
  EXPECT_EQ(ClientLines(res->body, "cangtou").size(), 2u);
  // The log line is written once the reply has gone out.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (std::chrono::steady_clock::now() < deadline) {
    std::lock_guard lock(log_mutex_);
    if (!log_.empty()) break;
  }
  std::lock_guard lock(log_mutex_);
  ASSERT_EQ(log_.size(), 1u);
  EXPECT_NE(log_[0].find(" 200 春风 7 cangtou 200 "), std::string::npos) << log_[0];
  EXPECT_NE(log_[0].find(" ms"), std::string::npos);
}

TEST_F(PoemServiceHttpTest, FormPageForBrowsers) {
  auto client = Client();
  const auto res = client.Get("/");
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 200);
  EXPECT_NE(res->body.find("action=\"/qm/cts.php\""), std::string::npos);
  for (const char* name : {"name=\"xing\"", "name=\"gender\"", "name=\"num\"", "name=\"limit\""}) {
    EXPECT_NE(res->body.find(name), std::string::npos) << name;
  }
}

TEST_F(PoemServiceHttpTest, ErrorsByStatus) {
  auto client = Client();
  auto res = client.Post("/qm/cts.php", "gender=5", "application/x-www-form-urlencoded");
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 400);
  res =
      client.Post("/qm/cts.php", std::string(70 * 1024, 'a'), "application/x-www-form-urlencoded");
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 413);
  res = client.Get("/qm/cts.php");
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 405);
  res = client.Put("/", "x", "text/plain");
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 405);
  res = client.Get("/elsewhere");
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 404);
  // The service is still up.
  res = client.Post("/qm/cts.php", "xing=%B4%BA&gender=5&num=cangtou&limit=100",
                    "application/x-www-form-urlencoded");
  ASSERT_TRUE(res);
  EXPECT_EQ(res->status, 200);
}

TEST_F(PoemServiceHttpTest, RequestsServedInParallel) {
  std::vector<std::thread> clients;
  std::atomic<int> ok{0};
  for (int i = 0; i < 8; ++i) {
    clients.emplace_back([&] {
      auto client = Client();
      for (int k = 0; k < 10; ++k) {
        const auto res =
            client.Post("/qm/cts.php", "xing=%B4%BA%D4%C2&gender=5&num=cangzhong&limit=100",
                        "application/x-www-form-urlencoded");
        if (res && res->status == 200) ++ok;
      }
    });
  }
  for (auto& c : clients) c.join();
  EXPECT_EQ(ok.load(), 80);
}

}  // namespace
}  // namespace miravel::poemd
