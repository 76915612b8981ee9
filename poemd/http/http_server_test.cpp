#include "poemd/http/http_server.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "poemd/http/raw_client.h"

namespace miravel::poemd {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class HttpServerTest : public ::testing::Test {
 protected:
  void Start(HttpLimits limits) {
    server_ = std::make_unique<HttpServer>(
        [](const HttpRequest& request) {
          return HttpReply{
              200,
              "text/plain",
              request.method + " " + request.target + " " + std::to_string(request.body.size()),
              {},
              "routed"};
        },
        [this](const RequestRecord& record) {
          std::lock_guard lock(mutex_);
          records_.push_back(record);
          logged_.notify_all();
        },
        limits);
    const Status listening = server_->Listen("127.0.0.1", 0, 2);
    ASSERT_TRUE(listening.ok()) << listening.ToString();
    thread_ = std::thread([this] { server_->Run(); });
  }
  void SetUp() override { Start({.request_deadline = 300ms, .write_deadline = 1000ms}); }
  void TearDown() override {
    server_->Stop();
    thread_.join();
  }
  int Port() const { return server_->Port(); }
  // The records once there are `count`, or when two seconds have passed.
  std::vector<RequestRecord> RecordsOnceThereAre(size_t count) {
    std::unique_lock lock(mutex_);
    logged_.wait_for(lock, 2s, [&] { return records_.size() >= count; });
    return records_;
  }

  std::unique_ptr<HttpServer> server_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable logged_;
  std::vector<RequestRecord> records_;
};

TEST_F(HttpServerTest, PipelinedRequestsAreAnsweredInOrder) {
  Raw client(Port());
  client.Send(
      "GET /one HTTP/1.1\r\nHost: x\r\n\r\n"
      "POST /two HTTP/1.1\r\nHost: x\r\nContent-Length: 3\r\n\r\nabc"
      "GET /three HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
  const auto start = Clock::now();
  bool closed = false;
  const std::string got = client.Read(2000ms, &closed);
  EXPECT_TRUE(closed);
  EXPECT_LT(Clock::now() - start, 1000ms);  // closed as the last request asked, not at a deadline
  const size_t one = got.find("GET /one 0");
  const size_t two = got.find("POST /two 3");
  const size_t three = got.find("GET /three 0");
  ASSERT_NE(one, std::string::npos) << got;
  ASSERT_NE(two, std::string::npos) << got;
  ASSERT_NE(three, std::string::npos) << got;
  EXPECT_LT(one, two);
  EXPECT_LT(two, three);
  EXPECT_EQ(Count(got, "HTTP/1.1 200 OK"), 3u);
}

TEST_F(HttpServerTest, TheBodyLimitHoldsBeforeTheBodyIsRead) {
  {
    Raw client(Port());
    client.Send("POST /p HTTP/1.1\r\nHost: x\r\nContent-Length: 70000\r\n\r\n");
    const auto start = Clock::now();
    bool closed = false;
    const std::string got = client.Read(2000ms, &closed);
    EXPECT_EQ(got.rfind("HTTP/1.1 413 ", 0), 0u) << got;
    EXPECT_NE(got.find("64 KiB"), std::string::npos);
    EXPECT_NE(got.find("Connection: close"), std::string::npos);
    EXPECT_TRUE(closed);
    EXPECT_LT(Clock::now() - start, 250ms);  // answered at once, not at the deadline
  }
  {
    Raw client(Port());
    client.Send(
        "POST /p HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n"
        "100000\r\nabc");
    const std::string got = client.Read(2000ms);
    EXPECT_EQ(got.rfind("HTTP/1.1 413 ", 0), 0u) << got;
  }
  {
    // Many small chunks that add up to more than the limit.
    Raw client(Port());
    std::string body;
    for (int k = 0; k < 70; ++k) body += "400\r\n" + std::string(1024, 'a') + "\r\n";
    client.Send("POST /p HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n" + body);
    EXPECT_EQ(client.Read(2000ms).rfind("HTTP/1.1 413 ", 0), 0u);
  }
  {
    Raw client(Port());
    client.Send(
        "POST /p HTTP/1.1\r\nHost: x\r\nTransfer-Encoding: chunked\r\n\r\n3\r\nabc\r\n0\r\n\r\n");
    EXPECT_NE(client.ReadUntil("POST /p 3", 2000ms).find("POST /p 3"), std::string::npos);
  }
}

TEST_F(HttpServerTest, RequestsThatSmuggleOrLackHostGet400) {
  {
    Raw client(Port());
    client.Send(
        "POST /p HTTP/1.1\r\nHost: x\r\nContent-Length: 3\r\nTransfer-Encoding: chunked\r\n\r\n"
        "3\r\nabc\r\n0\r\n\r\n");
    EXPECT_EQ(client.Read(1000ms).rfind("HTTP/1.1 400 ", 0), 0u);
  }
  {
    Raw client(Port());
    client.Send("GET / HTTP/1.1\r\n\r\n");
    const std::string got = client.Read(1000ms);
    EXPECT_EQ(got.rfind("HTTP/1.1 400 ", 0), 0u) << got;
    EXPECT_NE(got.find("without Host"), std::string::npos);
  }
  {
    Raw client(Port());
    client.Send("GET /old HTTP/1.0\r\n\r\n");
    EXPECT_NE(client.Read(1000ms).find("GET /old 0"), std::string::npos);
  }
  {
    Raw client(Port());
    client.Send("NONSENSE\r\n\r\n");
    EXPECT_EQ(client.Read(1000ms).rfind("HTTP/1.1 400 ", 0), 0u);
  }
}

// A request that has not arrived whole at its deadline is answered and
// closed, an idle connection closed silently; the log says which it was.
TEST_F(HttpServerTest, DeadlinesForPartialAndIdleRequests) {
  Raw short_body(Port());
  short_body.Send("POST /p HTTP/1.1\r\nHost: x\r\nContent-Length: 10\r\n\r\nabc");
  Raw partial_headers(Port());
  partial_headers.Send("GET /p HTTP/1.1\r\nHo");
  Raw idle(Port());
  const auto start = Clock::now();
  bool closed = false;
  EXPECT_EQ(short_body.Read(2000ms, &closed).rfind("HTTP/1.1 400 ", 0), 0u);
  EXPECT_TRUE(closed);
  EXPECT_GE(Clock::now() - start, 250ms);
  EXPECT_EQ(partial_headers.Read(2000ms, &closed).rfind("HTTP/1.1 408 ", 0), 0u);
  EXPECT_TRUE(closed);
  EXPECT_EQ(idle.Read(2000ms, &closed), "");
  EXPECT_TRUE(closed);
  EXPECT_LT(Clock::now() - start, 1500ms);
  // The reply may come before its log line is written.
  const std::vector<RequestRecord> records = RecordsOnceThereAre(2);
  std::vector<int> statuses;
  for (const RequestRecord& record : records) statuses.push_back(record.status);
  std::sort(statuses.begin(), statuses.end());
  EXPECT_EQ(statuses, (std::vector<int>{400, 408}));  // the idle one leaves no line
  for (const RequestRecord& record : records) {
    if (record.status == 400) {
      EXPECT_EQ(record.path, "/p");
    }
    EXPECT_GE(record.milliseconds, 250);
  }
}

TEST_F(HttpServerTest, OverlongHeadersAndRequestLines) {
  {
    Raw client(Port());
    client.Send("GET /" + std::string(9000, 'a') + " HTTP/1.1\r\nHost: x\r\n\r\n");
    EXPECT_EQ(client.Read(1000ms).rfind("HTTP/1.1 414 ", 0), 0u);
  }
  {
    Raw client(Port());
    client.Send("GET / HTTP/1.1\r\nHost: x\r\nX: " + std::string(9000, 'a') + "\r\n\r\n");
    EXPECT_EQ(client.Read(1000ms).rfind("HTTP/1.1 431 ", 0), 0u);
  }
}

TEST_F(HttpServerTest, ExpectContinueAndHead) {
  {
    Raw client(Port());
    client.Send("POST /p HTTP/1.1\r\nHost: x\r\nContent-Length: 2\r\nExpect: 100-continue\r\n\r\n");
    EXPECT_EQ(client.ReadUntil("\r\n\r\n", 1000ms), "HTTP/1.1 100 Continue\r\n\r\n");
    client.Send("ok");
    EXPECT_NE(client.ReadUntil("POST /p 2", 1000ms).find("POST /p 2"), std::string::npos);
  }
  {
    Raw client(Port());
    client.Send("HEAD /h HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    const std::string got = client.Read(1000ms);
    EXPECT_EQ(got.rfind("HTTP/1.1 200 OK", 0), 0u);
    EXPECT_NE(got.find("Content-Length: 8"), std::string::npos);  // of "GET /h 0"
    EXPECT_EQ(got.find("GET /h"), std::string::npos);             // but no body
  }
}

TEST_F(HttpServerTest, EveryRequestGetsItsOwnLogLine) {
  Raw client(Port());
  client.Send("GET /first HTTP/1.1\r\nHost: x\r\n\r\n");
  client.ReadUntil("GET /first", 1000ms);
  client.Send("BROKEN LINE\r\n\r\n");
  client.Read(1000ms);
  const std::vector<RequestRecord> records = RecordsOnceThereAre(2);
  ASSERT_EQ(records.size(), 2u);
  EXPECT_EQ(records[0].path, "/first");
  EXPECT_EQ(records[0].status, 200);
  EXPECT_EQ(records[0].note, "routed");
  EXPECT_EQ(records[0].peer, "127.0.0.1");
  EXPECT_EQ(records[1].status, 400);
  EXPECT_NE(records[1].path, "/first");
  EXPECT_NE(records[1].note, "routed");
  EXPECT_LT(records[1].milliseconds, 250);
}

class LimitedServerTest : public HttpServerTest {
 protected:
  void SetUp() override { Start({.max_per_address = 3, .request_deadline = 2000ms}); }
};

TEST_F(LimitedServerTest, ConnectionsPerAddressAreLimited) {
  std::vector<std::unique_ptr<Raw>> held;
  for (int k = 0; k < 3; ++k) held.push_back(std::make_unique<Raw>(Port(), "127.0.0.2"));
  while (server_->OpenConnections() < 3) std::this_thread::yield();
  Raw refused(Port(), "127.0.0.2");
  bool closed = false;
  EXPECT_EQ(refused.Read(1000ms, &closed), "");
  EXPECT_TRUE(closed);
  Raw other(Port(), "127.0.0.3");
  other.Send("GET /other HTTP/1.1\r\nHost: x\r\n\r\n");
  EXPECT_NE(other.ReadUntil("GET /other", 1000ms).find("GET /other"), std::string::npos);
}

TEST_F(LimitedServerTest, StopEndsAtOnceWhateverIsConnected) {
  std::vector<std::unique_ptr<Raw>> idle;
  for (int k = 0; k < 3; ++k) idle.push_back(std::make_unique<Raw>(Port(), "127.0.0.4"));
  while (server_->OpenConnections() < 3) std::this_thread::yield();
  const auto start = Clock::now();
  server_->Stop();
  thread_.join();
  EXPECT_LT(Clock::now() - start, 500ms);
  thread_ = std::thread([] {});  // for TearDown
}

TEST_F(HttpServerTest, NoOtherListenerJoinsTheAddress) {
  HttpServer second([](const HttpRequest&) { return HttpReply{}; }, [](const RequestRecord&) {});
  const Status refused = second.Listen("127.0.0.1", Port(), 2);
  EXPECT_EQ(refused.code(), StatusCode::kAddressInUse);
  EXPECT_NE(refused.message().find("127.0.0.1:" + std::to_string(Port())), std::string::npos);
  // Not even a socket that asks to share the port.
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  const int on = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEPORT, &on, sizeof on);
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_port = htons(static_cast<uint16_t>(Port()));
  inet_pton(AF_INET, "127.0.0.1", &at.sin_addr);
  EXPECT_NE(bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at), 0);
  close(fd);
}

// Whether a socket listens on 127.0.0.1:`port`. Linux lets a socket with
// SO_REUSEADDR bind a port that connections hold, but not one a socket
// listens on.
bool Listening(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  const int on = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in at{};
  at.sin_family = AF_INET;
  at.sin_port = htons(static_cast<uint16_t>(port));
  inet_pton(AF_INET, "127.0.0.1", &at.sin_addr);
  const bool bound = bind(fd, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0;
  close(fd);
  return !bound;
}

// Requests may take their time: a drain must wait for them.
class DrainTest : public HttpServerTest {
 protected:
  void SetUp() override { Start({.request_deadline = 5000ms, .write_deadline = 1000ms}); }
};

// A drain answers what is under way, closes what waits idle, takes nothing
// new once settled, and ends when the last connection has gone. A
// connection is given time to send: its client may have connected just
// before the listening socket closed, or be sending on a kept-alive one.
TEST_F(DrainTest, AnswersWhatIsUnderWayAndEndsWhenItIsDone) {
  Raw silent(Port());
  Raw slow(Port());
  Raw half(Port());
  half.Send("POST /late HTTP/1.1\r\nHost: x\r\nContent-Length: 3\r\n\r\n");
  Raw kept(Port());
  kept.Send("GET /kept HTTP/1.1\r\nHost: x\r\n\r\n");
  EXPECT_NE(kept.ReadUntil("GET /kept", 1000ms).find("GET /kept"), std::string::npos);
  while (server_->OpenConnections() < 4) std::this_thread::yield();
  ASSERT_TRUE(Listening(Port()));
  const auto start = Clock::now();
  std::jthread drain([this] { server_->Drain(0ms, 5000ms); });  // a failed assertion waits for it
  bool closed = false;
  // The body comes once nothing listens any more.
  const auto listening_until = Clock::now() + 3s;
  while (Listening(Port()) && Clock::now() < listening_until) std::this_thread::yield();
  ASSERT_FALSE(Listening(Port())) << "the drain never closed the listening socket";
  Raw late(Port());
  EXPECT_FALSE(late.connected()) << "a new connection was taken";
  half.Send("abc");
  const std::string reply = half.ReadUntil("POST /late 3", 1000ms);
  EXPECT_EQ(reply.rfind("HTTP/1.1 200 OK", 0), 0u) << reply;
  EXPECT_NE(reply.find("Connection: close"), std::string::npos);
  slow.Send("GET /slow HTTP/1.1\r\nHost: x\r\n\r\n");
  const std::string answer = slow.ReadUntil("GET /slow", 1000ms);
  EXPECT_EQ(answer.rfind("HTTP/1.1 200 OK", 0), 0u) << answer;
  EXPECT_NE(answer.find("Connection: close"), std::string::npos);
  // Sent nothing for a while: closed as idle, and the drain is done.
  EXPECT_EQ(kept.Read(2000ms, &closed), "");
  EXPECT_TRUE(closed);
  EXPECT_EQ(silent.Read(2000ms, &closed), "");
  EXPECT_TRUE(closed);
  drain.join();
  thread_.join();
  thread_ = std::thread([] {});  // for TearDown
  EXPECT_LT(Clock::now() - start, 4000ms);
  EXPECT_TRUE(server_->Draining());
}

TEST_F(DrainTest, WhileItSettlesNewConnectionsAreServedAndAskedToClose) {
  std::thread drain([this] { server_->Drain(500ms, 3000ms); });
  while (!server_->Draining()) std::this_thread::yield();
  Raw fresh(Port());
  fresh.Send("GET /fresh HTTP/1.1\r\nHost: x\r\n\r\n");
  bool closed = false;
  const std::string reply = fresh.Read(1000ms, &closed);
  EXPECT_EQ(reply.rfind("HTTP/1.1 200 OK", 0), 0u);
  EXPECT_NE(reply.find("Connection: close"), std::string::npos);
  EXPECT_TRUE(closed);
  drain.join();
  thread_.join();
  thread_ = std::thread([] {});
}

}  // namespace
}  // namespace miravel::poemd
