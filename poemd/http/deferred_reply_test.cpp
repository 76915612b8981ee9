// A deferred route: replies given later from another thread, the loop free
// meanwhile, replies dropped, and the server's own refusals worded as the
// service wants them.
#include <gtest/gtest.h>

#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "poemd/http/http_server.h"
#include "poemd/http/raw_client.h"

namespace miravel::poemd {
namespace {

using namespace std::chrono_literals;

// A route that answers /slow from a worker thread once released, /drop by
// dropping the reply, and anything else at once.
class DeferredServerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server_ = std::make_unique<HttpServer>(
        [this](const HttpRequest& request, const Defer& defer) -> std::optional<HttpReply> {
          if (request.Path() == "/slow") {
            std::lock_guard lock(mutex_);
            held_.push_back(defer());
            changed_.notify_all();
            return std::nullopt;
          }
          if (request.Path() == "/drop") {
            defer();  // and dropped unanswered
            return std::nullopt;
          }
          if (request.Path() == "/twice") {
            ReplyTo reply = defer();
            reply({200, "text/plain", "once", {}, "once"});
            reply({500, "text/plain", "twice", {}, "a second reply"});  // ignored
            return std::nullopt;
          }
          return HttpReply{
              200, "text/plain", "now " + request.peer + " " + request.accept, {}, "now"};
        },
        [](const RequestRecord&) {}, HttpLimits{.request_deadline = 300ms});
    server_->SetRefusalPage([](int status, const std::string& why, bool html) {
      return HttpReply{status,
                       html ? "text/html; charset=utf-8" : "text/plain",
                       html ? "<h1>页面 " + std::to_string(status) + "</h1>" : "plain: " + why,
                       {},
                       why};
    });
    ASSERT_TRUE(server_->Listen("127.0.0.1", 0, 1).ok());
    thread_ = std::thread([this] { server_->Run(); });
  }
  void TearDown() override {
    server_->Stop();
    ReleaseAll();
    thread_.join();
  }

  // Waits until `n` replies are held.
  void WaitHeld(size_t n) {
    std::unique_lock lock(mutex_);
    ASSERT_TRUE(changed_.wait_for(lock, 2s, [&] { return held_.size() >= n; }));
  }
  // Answers the held replies from a thread of their own.
  void ReleaseAll() {
    std::deque<ReplyTo> replies;
    {
      std::lock_guard lock(mutex_);
      replies.swap(held_);
    }
    std::thread worker([&] {
      for (ReplyTo& reply : replies) reply({200, "text/plain", "later", {}, "later"});
    });
    worker.join();
  }

  std::unique_ptr<HttpServer> server_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<ReplyTo> held_;
};

TEST_F(DeferredServerTest, ALaterReplyLeavesTheLoopFreeMeanwhile) {
  Raw slow(server_->Port());
  slow.Send("GET /slow HTTP/1.1\r\nHost: x\r\n\r\n");
  WaitHeld(1);
  // One loop: it answers others while the slow one waits.
  Raw quick(server_->Port());
  quick.Send("GET /q HTTP/1.1\r\nHost: x\r\nAccept: text/html\r\n\r\n");
  const std::string now = quick.ReadUntil("text/html", 1000ms);
  EXPECT_NE(now.find("now 127.0.0.1 text/html"), std::string::npos) << now;
  quick.Send("GET /twice HTTP/1.1\r\nHost: x\r\n\r\n");
  const std::string once = quick.ReadUntil("once", 1000ms);
  EXPECT_NE(once.find("once"), std::string::npos);
  EXPECT_EQ(once.find("twice"), std::string::npos);
  EXPECT_EQ(slow.Read(100ms), "");
  ReleaseAll();
  const std::string later = slow.ReadUntil("later", 1000ms);
  EXPECT_EQ(later.rfind("HTTP/1.1 200 OK", 0), 0u) << later;
  // The connection goes on: the next request on it is answered too.
  slow.Send("GET /q HTTP/1.1\r\nHost: x\r\n\r\n");
  EXPECT_NE(slow.ReadUntil("now", 1000ms).find("now 127.0.0.1"), std::string::npos);
}

TEST_F(DeferredServerTest, ADroppedReplyClosesItsConnection) {
  Raw client(server_->Port());
  client.Send("GET /drop HTTP/1.1\r\nHost: x\r\n\r\n");
  bool closed = false;
  EXPECT_EQ(client.Read(1000ms, &closed), "");
  EXPECT_TRUE(closed);
}

TEST_F(DeferredServerTest, RunWaitsForTheRepliesHeldElsewhere) {
  Raw client(server_->Port());
  client.Send("GET /slow HTTP/1.1\r\nHost: x\r\n\r\n");
  WaitHeld(1);
  std::atomic<bool> returned{false};
  std::thread stopper([&] {
    server_->Stop();
    std::this_thread::sleep_for(100ms);
    EXPECT_FALSE(returned.load());  // the held reply still names its connection
    ReleaseAll();
  });
  thread_.join();
  returned = true;
  stopper.join();
  thread_ = std::thread([] {});
}

TEST_F(DeferredServerTest, TheServersOwnRefusalsAreWordedForWhoAsks) {
  {
    Raw browser(server_->Port());
    browser.Send("GET /x HTTP/1.1\r\nAccept: text/html,*/*\r\n\r\n");  // no Host
    const std::string got = browser.Read(1000ms);
    EXPECT_EQ(got.rfind("HTTP/1.1 400 ", 0), 0u) << got;
    EXPECT_NE(got.find("text/html; charset=utf-8"), std::string::npos);
    EXPECT_NE(got.find("<h1>页面 400</h1>"), std::string::npos);
  }
  {
    Raw curl(server_->Port());
    curl.Send("GET /x HTTP/1.1\r\nAccept: */*\r\nHost: x\r\nX: " + std::string(9000, 'a') +
              "\r\n\r\n");
    const std::string got = curl.Read(1000ms);
    EXPECT_EQ(got.rfind("HTTP/1.1 431 ", 0), 0u) << got;
    EXPECT_NE(got.find("plain: the request's headers are too long"), std::string::npos);
  }
  {
    // Headers that never end: a 408, for a browser when its Accept line came.
    Raw browser(server_->Port());
    browser.Send("GET /x HTTP/1.1\r\nAccept: text/html\r\nHo");
    Raw curl(server_->Port());
    curl.Send("GET /x HTTP/1.1\r\nHo");
    const std::string page = browser.Read(2000ms);
    EXPECT_EQ(page.rfind("HTTP/1.1 408 ", 0), 0u) << page;
    EXPECT_NE(page.find("<h1>页面 408</h1>"), std::string::npos) << page;
    EXPECT_NE(curl.Read(2000ms).find("plain: the request did not arrive in time"),
              std::string::npos);
  }
}

}  // namespace
}  // namespace miravel::poemd
