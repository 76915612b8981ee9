#include "web/timed_web_request.h"

#include <gtest/gtest.h>

#include <semaphore>

#include "common/headless_event_pump.h"
#include "text/codepage.h"
#include "web/testing/local_server.h"
#include "web/testing/raw_http_server.h"

namespace miravel {
namespace {

using namespace std::chrono_literals;
using testing::HttpReply;
using testing::LocalServer;
using testing::RawHttpServer;
using Clock = std::chrono::steady_clock;

LocalServer PageServer() {
  return LocalServer([](httplib::Server& s) {
    s.Post("/echo", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content(req.body, "text/plain");
    });
    s.Get("/utf8", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("\xE4\xB8\xAD", "text/plain");
    });
    s.Get("/big5", [](const httplib::Request&, httplib::Response& res) {
      res.set_content("\xB0\xEA", "text/plain");
    });
    s.Get("/zero", [](const httplib::Request&, httplib::Response& res) {
      res.set_content(std::string("a\0\xE4\xB8\xAD", 5), "text/plain");
    });
    s.Get("/cookie", [](const httplib::Request&, httplib::Response& res) {
      res.set_header("Set-Cookie", "t=5; path=/");
      res.set_content("c", "text/plain");
    });
  });
}

TEST(TimedWebRequest, PostsTheBodyAndReturnsThePage) {
  const LocalServer server([](httplib::Server& s) {
    s.Post("/echo", [](const httplib::Request& req, httplib::Response& res) {
      res.set_content(req.body, "text/plain");
    });
  });
  HeadlessEventPump pump;
  Text url = server.Url("/echo");
  EXPECT_EQ(TimedWebRequest(url, pump, {.method = kMethodPost, .body = "a=1&b=2"}), "a=1&b=2");
}

TEST(TimedWebRequest, BlankUrlGivesNothingAndSendsNothing) {
  HeadlessEventPump pump;
  Text url = "   ";
  EXPECT_EQ(TimedWebRequest(url, pump), "");
  EXPECT_EQ(url, "   ");
}

TEST(TimedWebRequest, UrlWithoutSchemeGetsHttpAndTheCallerSeesIt) {
  const LocalServer server = PageServer();
  HeadlessEventPump pump;
  Text url = "127.0.0.1:" + std::to_string(server.port()) + "/utf8";
  EXPECT_EQ(TimedWebRequest(url, pump), "\xE4\xB8\xAD");
  EXPECT_EQ(url, "http://127.0.0.1:" + std::to_string(server.port()) + "/utf8");
}

TEST(TimedWebRequest, ConversionsFromUtf8AndBig5) {
  const LocalServer server = PageServer();
  HeadlessEventPump pump;
  Text url = server.Url("/utf8");
  EXPECT_EQ(TimedWebRequest(url, pump, {.response_conversion = kConvertFromUtf8}), "\xD6\xD0");
  url = server.Url("/big5");
  EXPECT_EQ(TimedWebRequest(url, pump, {.response_conversion = kConvertFromBig5}), "\xB9\xFA");
}

TEST(TimedWebRequest, ZeroBytesKeptUnconvertedCutWhenConverted) {
  const LocalServer server = PageServer();
  HeadlessEventPump pump;
  Text url = server.Url("/zero");
  EXPECT_EQ(TimedWebRequest(url, pump), std::string("a\0\xE4\xB8\xAD", 5));
  EXPECT_EQ(TimedWebRequest(url, pump, {.response_conversion = kConvertFromUtf8}), "a");
}

TEST(TimedWebRequest, OutParametersReceiveHeadersAndCookies) {
  const LocalServer server = PageServer();
  HeadlessEventPump pump;
  Text url = server.Url("/cookie");
  Text headers = "untouched", cookies = "untouched";
  TimedWebRequest(url, pump, {.response_headers = &headers, .response_cookies = &cookies});
  EXPECT_TRUE(headers.starts_with("HTTP/1.1 200 OK\r\n"));
  EXPECT_EQ(cookies, "t=5;");
}

TEST(TimedWebRequest, ServerThatNeverAnswersTimesOut) {
  RawHttpServer silent([](const std::string&, const auto& send) {
    for (int i = 0; i < 100 && send(""); ++i) std::this_thread::sleep_for(50ms);
  });
  HeadlessEventPump pump;
  Text url = "http://127.0.0.1:" + std::to_string(silent.port()) + "/";
  Text headers = "untouched";
  const auto start = Clock::now();
  EXPECT_EQ(TimedWebRequest(url, pump,
                            {.timeout_seconds = 1,
                             .response_headers = &headers,
                             .response_conversion = kConvertFromUtf8}),
            kTimeoutMessage);
  const auto elapsed = Clock::now() - start;
  EXPECT_GE(elapsed, 1s);
  EXPECT_LT(elapsed, 3s);
  EXPECT_EQ(headers, "untouched");
}

TEST(TimedWebRequest, SlowTrickleEndsAtTheLimitNotLater) {
  RawHttpServer trickle([](const std::string&, const auto& send) {
    send("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n");
    for (int i = 0; i < 100 && send("x"); ++i) std::this_thread::sleep_for(1s);
  });
  HeadlessEventPump pump;
  Text url = "http://127.0.0.1:" + std::to_string(trickle.port()) + "/";
  const auto start = Clock::now();
  EXPECT_EQ(TimedWebRequest(url, pump, {.timeout_seconds = 2}), kTimeoutMessage);
  EXPECT_LT(Clock::now() - start, 3s);
}

TEST(TimedWebRequest, ZeroTimeoutTimesOutEvenWhenTheWorkerIsDone) {
  const LocalServer server = PageServer();
  HeadlessEventPump pump;
  Text url = server.Url("/utf8");
  EXPECT_EQ(TimedWebRequest(url, pump, {.timeout_seconds = 0}), kTimeoutMessage);
  EXPECT_EQ(TimedWebRequest(url, pump, {.timeout_seconds = -5}), kTimeoutMessage);
}

TEST(TimedWebRequest, EventsPostedDuringTheWaitRunAtOnce) {
  HeadlessEventPump pump;
  std::binary_semaphore handled(0);
  Clock::time_point posted;
  Clock::time_point ran;
  // The request has arrived, so the caller is waiting: the reply waits in
  // turn for the event, which a wait that ran events only at its end would
  // never run.
  RawHttpServer slow([&](const std::string&, const auto& send) {
    posted = Clock::now();
    pump.Post([&] {
      ran = Clock::now();
      handled.release();
    });
    send(HttpReply("200 OK", "", handled.try_acquire_for(10s) ? "after the event" : "no event"));
  });
  Text url = "http://127.0.0.1:" + std::to_string(slow.port()) + "/";
  EXPECT_EQ(TimedWebRequest(url, pump), "after the event");
  EXPECT_LT(ran - posted, 300ms);
}

TEST(TimedWebRequest, InterruptedPumpGivesUpAtOnce) {
  RawHttpServer silent([](const std::string&, const auto& send) {
    for (int i = 0; i < 100 && send(""); ++i) std::this_thread::sleep_for(50ms);
  });
  HeadlessEventPump pump;
  pump.Interrupt();
  Text url = "http://127.0.0.1:" + std::to_string(silent.port()) + "/";
  const auto start = Clock::now();
  EXPECT_EQ(TimedWebRequest(url, pump), kTimeoutMessage);
  EXPECT_LT(Clock::now() - start, 2s);
}

TEST(TimedWebRequest, TimeoutMillis) {
  EXPECT_EQ(TimeoutMillis(std::nullopt), 60000);
  EXPECT_EQ(TimeoutMillis(3), 3000);
  EXPECT_EQ(TimeoutMillis(0), 0);
  EXPECT_EQ(TimeoutMillis(5000000), 2147483647);
}

TEST(TimedWebRequest, TimeoutMessageIsTheGbkText) {
  EXPECT_EQ(Text(kTimeoutMessage), Utf8ToGbk("超时返回，指定网站不能访问，或者你的网络出现问题，你"
                                             "可以把参数中的＂超时返回＂的值设置长一些。"));
}

}  // namespace
}  // namespace miravel
