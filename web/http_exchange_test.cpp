#include "web/http_exchange.h"

#include <gtest/gtest.h>

#include "web/exchange_plan.h"
#include "web/exchange_slots.h"
#include "web/testing/local_server.h"
#include "web/testing/raw_http_server.h"
#include "web/web_session.h"

namespace miravel {
namespace {

using testing::HttpReply;
using testing::LocalServer;
using testing::RawHttpServer;

Record Request(const Text& url, const Text& method, const Bytes& body = "",
               const Text& cookies = "", bool redirects = true, const Text& proxy = "",
               const Text& headers = "") {
  return {url, method, proxy, headers, body, cookies, redirects ? kRedirectsOn : kRedirectsOff};
}

// Runs one exchange on this thread through an in-memory file.
Record Exchange(const Record& request) {
  const int number = OpenMemoryFile();
  FindMemoryFile(number)->WriteRecord(request);
  const std::atomic<bool> abort{false};
  HttpExchange(number, abort);
  auto file = FindMemoryFile(number);
  file->Rewind();
  Record result = file->ReadRecord().value_or(Record{});
  CloseMemoryFile(number);
  return result;
}

class HttpExchangeTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearCookieStore(); }
};

TEST_F(HttpExchangeTest, PoemRequestGoesOutExactlyAsPlanned) {
  RawHttpServer server(
      [](const std::string&, const auto& send) { send(HttpReply("200 OK", "", "page")); });
  const Text url = "http://127.0.0.1:" + std::to_string(server.port()) + "/qm/cts.php";
  const Bytes body = "xing=%D6%D0&gender=5&type_str=&classid=0&num=cangtou&limit=100";
  const Record result = Exchange(Request(url, "POST", body));
  ASSERT_EQ(result.size(), kExchangeSlotCount);
  EXPECT_EQ(result[kSlotUrl], "page");
  ASSERT_EQ(server.requests().size(), 1u);
  const ExchangePlan plan = PlanExchange(Request(url, "POST", body));
  EXPECT_EQ(server.requests()[0],
            "POST /qm/cts.php HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(server.port()) +
                "\r\nUser-Agent: " + kDefaultAgent + "\r\n" + plan.header_block + "\r\n" + body);
}

TEST_F(HttpExchangeTest, RawHeadersAndCookiesComeBackInSlots) {
  LocalServer server([](httplib::Server& s) {
    s.Get("/set", [](const httplib::Request&, httplib::Response& res) {
      res.set_header("Set-Cookie", "a=1; path=/");
      res.headers.emplace("Set-Cookie", "b=2; path=/");
      res.set_content("ok", "text/plain");
    });
  });
  const Record result = Exchange(Request(server.Url("/set"), "GET"));
  EXPECT_EQ(result[kSlotResponseCookies], "a=1;b=2;");
  EXPECT_TRUE(result[kSlotResponseHeaders].starts_with("HTTP/1.1 200 OK\r\n"));
  EXPECT_NE(FindText(result[kSlotResponseHeaders], "Set-Cookie: b=2; path=/\r\n"), kAbsent);
  EXPECT_TRUE(result[kSlotResponseHeaders].ends_with("\r\n"));
  EXPECT_EQ(result[kSlotRedirects], kRedirectsOn);
}

// /set sets the cookie `cookie`; /see keeps the Cookie header it is sent in
// `seen`.
LocalServer CookieServer(const std::string& cookie, std::string* seen) {
  return LocalServer([cookie, seen](httplib::Server& s) {
    s.Get("/set", [cookie](const httplib::Request&, httplib::Response& res) {
      res.set_header("Set-Cookie", cookie + "; path=/");
    });
    s.Get("/see", [seen](const httplib::Request& req, httplib::Response&) {
      *seen = req.get_header_value("Cookie");
    });
  });
}

TEST_F(HttpExchangeTest, StoredCookiesGoWithTheNextExchangeUnlessTheCallerSendsHis) {
  std::string seen;
  const LocalServer server = CookieServer("a=1", &seen);
  Exchange(Request(server.Url("/set"), "GET"));
  Exchange(Request(server.Url("/see"), "GET"));
  EXPECT_EQ(seen, "a=1");
  Exchange(Request(server.Url("/see"), "GET", "", "mine=9"));
  EXPECT_EQ(seen, "mine=9");
}

TEST_F(HttpExchangeTest, CookiesSetOnAnExchangeWithCallerCookiesAreStoredToo) {
  std::string seen;
  const LocalServer server = CookieServer("k=v", &seen);
  Exchange(Request(server.Url("/set"), "GET", "", "mine=9"));
  Exchange(Request(server.Url("/see"), "GET"));
  EXPECT_EQ(seen, "k=v");
}

TEST_F(HttpExchangeTest, RedirectsFollowedOrRefused) {
  LocalServer server([](httplib::Server& s) {
    s.Get("/from",
          [](const httplib::Request&, httplib::Response& res) { res.set_redirect("/to"); });
    s.Get("/to", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("arrived", "text/plain");
    });
  });
  EXPECT_EQ(Exchange(Request(server.Url("/from"), "GET"))[kSlotUrl], "arrived");
  const Record refused = Exchange(Request(server.Url("/from"), "GET", "", "", false));
  EXPECT_NE(refused[kSlotUrl], "arrived");
  EXPECT_TRUE(refused[kSlotResponseHeaders].starts_with("HTTP/1.1 302"));
  EXPECT_NE(FindText(refused[kSlotResponseHeaders], "Location: /to\r\n"), kAbsent);
}

// A POST answered with a redirect: the second request, as it crossed the
// wire, for each status.
TEST_F(HttpExchangeTest, APostRedirectedIsFollowedAsBrowsersFollowIt) {
  const Bytes body = "xing=%D6%D0&gender=5&type_str=&classid=0&num=cangtou&limit=100";
  for (const int status : {301, 302, 303, 307, 308}) {
    RawHttpServer server([status](const std::string& request, const auto& send) {
      if (request.find(" /qm/cts.php ") != std::string::npos) {
        send(HttpReply(std::to_string(status) + " Moved", "Location: /poems\r\n", ""));
      } else {
        send(HttpReply("200 OK", "", "poems"));
      }
    });
    const Text url = "http://127.0.0.1:" + std::to_string(server.port()) + "/qm/cts.php";
    const auto start = std::chrono::steady_clock::now();
    const Record result = Exchange(Request(url, "POST", body));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << status;
    EXPECT_EQ(result[kSlotUrl], "poems") << status;
    ASSERT_EQ(server.requests().size(), 2u) << status;
    const ExchangePlan plan = PlanExchange(Request(url, "POST", body));
    const Text host = "Host: 127.0.0.1:" + std::to_string(server.port()) + "\r\n";
    const Text agent = Text("User-Agent: ") + kDefaultAgent + "\r\n";
    EXPECT_EQ(server.requests()[0],
              "POST /qm/cts.php HTTP/1.1\r\n" + host + agent + plan.header_block + "\r\n" + body);
    if (status == 307 || status == 308) {
      EXPECT_EQ(server.requests()[1],
                "POST /poems HTTP/1.1\r\n" + host + agent + plan.header_block + "\r\n" + body);
    } else {
      const std::optional<RequestHop> get =
          FollowRedirect({url, "POST", plan.header_block, body}, status, url);
      ASSERT_TRUE(get.has_value());
      EXPECT_EQ(server.requests()[1],
                "GET /poems HTTP/1.1\r\n" + host + agent + get->header_block + "\r\n");
      EXPECT_EQ(FindText(server.requests()[1], "Content-"), kAbsent);
    }
  }
}

TEST_F(HttpExchangeTest, ALoopOfRedirectsEndsAtTheLimitAtOnce) {
  RawHttpServer server([](const std::string&, const auto& send) {
    send(HttpReply("302 Found", "Location: /again\r\n", "moved"));
  });
  const Text url = "http://127.0.0.1:" + std::to_string(server.port()) + "/qm/cts.php";
  const auto start = std::chrono::steady_clock::now();
  const Record result = Exchange(Request(url, "POST", "xing=%D6%D0"));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(900));
  EXPECT_EQ(server.requests().size(), static_cast<size_t>(kMaxRedirects) + 1);
  EXPECT_EQ(result[kSlotUrl], "moved");  // the last reply, which holds no page
  EXPECT_TRUE(result[kSlotResponseHeaders].starts_with("HTTP/1.1 302"));
}

TEST_F(HttpExchangeTest, ProxyReceivesTheAbsoluteTarget) {
  RawHttpServer proxy(
      [](const std::string&, const auto& send) { send(HttpReply("200 OK", "", "via proxy")); });
  const Record result = Exchange(Request("http://poems.test/qm/x?y=1", "GET", "", "", true,
                                         "127.0.0.1:" + std::to_string(proxy.port())));
  EXPECT_EQ(result[kSlotUrl], "via proxy");
  ASSERT_EQ(proxy.requests().size(), 1u);
  EXPECT_TRUE(proxy.requests()[0].starts_with("GET http://poems.test/qm/x?y=1 HTTP/1.1\r\n"));
}

TEST_F(HttpExchangeTest, LargeBodyAssembledInOrder) {
  std::string big;
  for (int i = 0; big.size() < 100 * 1024; ++i) big += std::to_string(i) + ",";
  LocalServer server([&](httplib::Server& s) {
    s.Get("/big", [&](const httplib::Request&, httplib::Response& res) {
      res.set_content(big, "text/plain");
    });
  });
  EXPECT_EQ(Exchange(Request(server.Url("/big"), "GET"))[kSlotUrl], big);
}

TEST_F(HttpExchangeTest, RefusedConnectionGivesAnEmptyBody) {
  int port = 0;
  {
    LocalServer gone([](httplib::Server&) {});
    port = gone.port();
  }
  const Record result = Exchange(Request("http://127.0.0.1:" + std::to_string(port) + "/", "GET"));
  ASSERT_EQ(result.size(), kExchangeSlotCount);
  EXPECT_EQ(result[kSlotUrl], "");
  EXPECT_EQ(result[kSlotResponseHeaders], "");
}

TEST_F(HttpExchangeTest, UnsentMethodAndUnreachableHostGiveEmptyResults) {
  LocalServer server([](httplib::Server&) {});
  EXPECT_EQ(Exchange(Request(server.Url("/"), "PUT"))[kSlotUrl], "");
  EXPECT_EQ(Exchange(Request("http://bad host/", "GET"))[kSlotUrl], "");
}

TEST_F(HttpExchangeTest, UnreadableFileGetsNothingWrittenBack) {
  const int number = OpenMemoryFile();
  FindMemoryFile(number)->WriteText("not a record");
  const std::atomic<bool> abort{false};
  HttpExchange(number, abort);
  auto file = FindMemoryFile(number);
  file->Rewind();
  EXPECT_EQ(file->ReadLine(), "not a record");
  CloseMemoryFile(number);
}

TEST_F(HttpExchangeTest, ShortRecordIsMadeSevenSlotsLong) {
  LocalServer server([](httplib::Server& s) {
    s.Get("/", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("x", "text/plain");
    });
  });
  const Record result = Exchange({server.Url("/"), "GET"});
  ASSERT_EQ(result.size(), kExchangeSlotCount);
  EXPECT_EQ(result[kSlotUrl], "x");
}

}  // namespace
}  // namespace miravel
