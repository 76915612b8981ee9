// The route table: exact paths and patterns, what a pattern read reaching
// its handler, and the answers the table gives itself (404, 405 with
// Allow) the same way for every route.
#include "poemd/serve/routes/route_table.h"

#include <gtest/gtest.h>

#include <charconv>

namespace miravel::poemd {
namespace {

HttpRequest Request(std::string method, std::string target) {
  HttpRequest request;
  request.method = std::move(method);
  request.target = std::move(target);
  return request;
}

HttpReply Text(std::string body) { return {200, "text/plain", std::move(body), {}, {}}; }

// "/n/<number>": the number.
std::optional<int> ReadNumber(std::string_view path) {
  if (!path.starts_with("/n/")) return std::nullopt;
  path.remove_prefix(3);
  int n = 0;
  const auto [end, ec] = std::from_chars(path.data(), path.data() + path.size(), n);
  if (ec != std::errc() || end != path.data() + path.size()) return std::nullopt;
  return n;
}

std::string Allow(const HttpReply& reply) {
  for (const auto& [name, value] : reply.headers) {
    if (name == "Allow") return value;
  }
  return "";
}

class RouteTableTest : public ::testing::Test {
 protected:
  RouteTableTest() {
    table_
        .Add("GET", "/",
             [](const HttpRequest& r) { return Text("home " + std::string(r.Query())); })
        .Add("POST", "/form", [](const HttpRequest& r) { return Text("posted " + r.body); })
        .Add("GET", "/n/{number}", ReadNumber,
             [](const HttpRequest&, int n) { return Text("number " + std::to_string(n)); })
        .Add("PUT", "/n/{number}", ReadNumber,
             [](const HttpRequest&, int n) { return Text("put " + std::to_string(n)); })
        .Add("GET", "/later", [this](const HttpRequest&, const Defer& defer) -> Answer {
          if (!defer) return Text("at once");
          later_ = defer();
          return std::nullopt;
        });
  }

  HttpReply Served(const HttpRequest& request) {
    Answer answer = table_.Serve(request, nullptr);
    EXPECT_TRUE(answer.has_value()) << request.target;
    return answer ? std::move(*answer) : HttpReply{};
  }

  RouteTable table_;
  ReplyTo later_;
};

TEST_F(RouteTableTest, EachRouteGetsItsRequestAndWhatItsPatternRead) {
  EXPECT_EQ(Served(Request("GET", "/?a=1")).body, "home a=1");
  HttpRequest post = Request("POST", "/form");
  post.body = "x=1";
  EXPECT_EQ(Served(post).body, "posted x=1");
  EXPECT_EQ(Served(Request("GET", "/n/42?q")).body, "number 42");
  EXPECT_EQ(Served(Request("PUT", "/n/7")).body, "put 7");
}

TEST_F(RouteTableTest, APathNoPatternReadsIsAMissingPage) {
  for (const char* target : {"/nowhere", "/n/", "/n/4x", "/form/", "//"}) {
    EXPECT_EQ(Served(Request("GET", target)).status, 404) << target;
  }
}

TEST_F(RouteTableTest, AnotherMethodIs405NamingTheMethodsThePatternHas) {
  const HttpReply post_home = Served(Request("POST", "/"));
  EXPECT_EQ(post_home.status, 405);
  EXPECT_EQ(Allow(post_home), "GET, HEAD");
  EXPECT_EQ(Allow(Served(Request("GET", "/form"))), "POST");
  EXPECT_EQ(Allow(Served(Request("DELETE", "/n/1"))), "GET, HEAD, PUT");
  // Not for a path the pattern does not read.
  EXPECT_EQ(Served(Request("DELETE", "/n/x")).status, 404);
}

TEST_F(RouteTableTest, ARouteMayAnswerLaterOrAtOnceWhenAskedTo) {
  EXPECT_EQ(Served(Request("GET", "/later")).body, "at once");
  std::optional<HttpReply> given;
  const Answer answer = table_.Serve(Request("GET", "/later"), [&given] {
    return [&given](HttpReply reply) { given = std::move(reply); };
  });
  EXPECT_FALSE(answer.has_value());
  ASSERT_TRUE(later_);
  later_(Text("later"));
  ASSERT_TRUE(given.has_value());
  EXPECT_EQ(given->body, "later");
}

}  // namespace
}  // namespace miravel::poemd
