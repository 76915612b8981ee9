#include "web/exchange_plan.h"

#include <gtest/gtest.h>

#include "web/exchange_slots.h"

namespace miravel {
namespace {

Record Slots(const Text& url, const Text& method, const Text& headers = "", const Bytes& body = "",
             const Text& cookies = "", bool redirects = true, const Text& proxy = "") {
  return {url, method, proxy, headers, body, cookies, redirects ? kRedirectsOn : kRedirectsOff};
}

const Text kPoemUrl = "http://localhost/qm/cts.php";

TEST(ExchangePlan, PoemRequestHeaderBlockAgentAndFlags) {
  const Bytes body = "xing=&gender=5&type_str=&classid=0&num=cangtou&limit=100";
  const ExchangePlan plan = PlanExchange(Slots(kPoemUrl, "POST", "", body));
  EXPECT_EQ(plan.header_block, Text(kDefaultAcceptLine) + "Referer: " + kPoemUrl +
                                   "\r\nAccept-Language: zh-cn\r\n"
                                   "Content-Type: application/x-www-form-urlencoded\r\n"
                                   "Content-Length: 56\r\n");
  EXPECT_EQ(plan.agent, kDefaultAgent);
  EXPECT_EQ(plan.flags, 0x80004010u);
  EXPECT_EQ(plan.host, "localhost");
  EXPECT_EQ(plan.path, "/qm/cts.php");
  EXPECT_EQ(plan.port, 80);
  EXPECT_FALSE(plan.secure);
  EXPECT_TRUE(plan.send);
  EXPECT_EQ(plan.body, body);
  EXPECT_TRUE(plan.UsesCookieStore());
  EXPECT_TRUE(plan.FollowsRedirects());
}

TEST(ExchangePlan, FlagsFollowCookiesRedirectsAndSecurity) {
  EXPECT_EQ(PlanExchange(Slots(kPoemUrl, "GET", "", "", "a=1", false)).flags,
            INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE | INTERNET_FLAG_NO_COOKIES |
                INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_IGNORE_REDIRECT_TO_HTTPS);
  const ExchangePlan secure = PlanExchange(Slots("HTTPS://h:8443/x", "GET"));
  EXPECT_TRUE(secure.secure);
  EXPECT_EQ(secure.port, 8443);
  EXPECT_EQ(secure.flags, INTERNET_FLAG_RELOAD | INTERNET_FLAG_NEED_FILE | INTERNET_FLAG_SECURE);
  // "https://" anywhere makes the URL secure, at 443.
  const ExchangePlan elsewhere = PlanExchange(Slots("http://h:8080/r?to=https://x:9/", "GET"));
  EXPECT_TRUE(elsewhere.secure);
  EXPECT_EQ(elsewhere.port, 443);
}

TEST(ExchangePlan, ASecureAddressGoesToItsOwnPortOr443) {
  EXPECT_EQ(PlanExchange(Slots("https://poems.example:8443/qm/cts.php", "POST")).port, 8443);
  EXPECT_EQ(PlanExchange(Slots("https://poems.example:8443", "POST")).port, 8443);
  EXPECT_EQ(PlanExchange(Slots("https://poems.example/qm/cts.php", "POST")).port, 443);
  EXPECT_EQ(PlanExchange(Slots("https://poems.example", "POST")).port, 443);
  // A colon after the host's slash belongs to the path, not to the port.
  EXPECT_EQ(PlanExchange(Slots("https://poems.example/a:1", "POST")).port, 443);
}

TEST(ExchangePlan, CookieLineEndsWithBlankLineAndBlanksDoNotSetNoCookies) {
  const ExchangePlan get = PlanExchange(Slots(kPoemUrl, "GET", "", "", "a=1; b=2"));
  EXPECT_TRUE(get.header_block.ends_with("Accept-Language: zh-cn\r\nCookie: a=1; b=2\r\n\r\n"));
  EXPECT_FALSE(get.UsesCookieStore());
  const ExchangePlan blanks = PlanExchange(Slots(kPoemUrl, "GET", "", "", "  "));
  EXPECT_TRUE(blanks.header_block.ends_with("Cookie:   \r\n\r\n"));
  EXPECT_TRUE(blanks.UsesCookieStore());
}

TEST(ExchangePlan, AcceptTestMatchesInsideAcceptLanguage) {
  const ExchangePlan plan = PlanExchange(Slots(kPoemUrl, "GET", "Accept-Language: en\r\n"));
  EXPECT_EQ(plan.header_block, "Accept-Language: en\r\nReferer: " + kPoemUrl + "\r\n");
}

TEST(ExchangePlan, AnyRefererTextSuppressesTheDefaultLine) {
  const ExchangePlan plan = PlanExchange(Slots(kPoemUrl, "GET", "X-Note: referer here\r\n"));
  EXPECT_EQ(FindText(plan.header_block, "Referer: "), kAbsent);
}

TEST(ExchangePlan, RefererNoMarkerIsRemovedAndNoRefererSent) {
  const ExchangePlan plan = PlanExchange(Slots(kPoemUrl, "GET", "X-A: 1RefererNo\r\n"));
  EXPECT_EQ(plan.header_block,
            "X-A: 1\r\n" + Text(kDefaultAcceptLine) + "Accept-Language: zh-cn\r\n");
}

TEST(ExchangePlan, LastLineWithoutBreakIsGluedToTheFirstDefault) {
  const ExchangePlan plan = PlanExchange(Slots(kPoemUrl, "GET", "X-A: 1"));
  EXPECT_TRUE(plan.header_block.starts_with("X-A: 1Accept: image/gif"));
}

TEST(ExchangePlan, CallerAgentAndItsEmptyLastLineForm) {
  EXPECT_EQ(PlanExchange(Slots(kPoemUrl, "GET", "user-agent:  Foo 1.0 \r\n")).agent, "Foo 1.0");
  const ExchangePlan last = PlanExchange(Slots(kPoemUrl, "GET", "User-Agent: Foo"));
  EXPECT_EQ(last.agent, "");
  EXPECT_TRUE(last.header_block.starts_with("User-Agent: Foo"));
}

TEST(ExchangePlan, PostBodyLinesOnlyForNonEmptyBodyAndCallerLengthKept) {
  const ExchangePlan empty = PlanExchange(Slots(kPoemUrl, "POST"));
  EXPECT_EQ(FindText(empty.header_block, "Content-"), kAbsent);
  const ExchangePlan own = PlanExchange(Slots(kPoemUrl, "POST", "Content-Length: 99\r\n", "abc"));
  EXPECT_NE(FindText(own.header_block, "Content-Length: 99\r\n"), kAbsent);
  EXPECT_EQ(FindText(own.header_block, "Content-Length: 3"), kAbsent);
}

TEST(ExchangePlan, OtherMethodsAreNotSentAndGetHasNoBody) {
  EXPECT_FALSE(PlanExchange(Slots(kPoemUrl, "PUT", "", "x")).send);
  const ExchangePlan get = PlanExchange(Slots(kPoemUrl, "GET", "", "x"));
  EXPECT_TRUE(get.send);
  EXPECT_TRUE(get.body.empty());
}

TEST(FollowRedirect, PostBecomesABareGetAfter301To303) {
  const RequestHop post{"http://a/x", "POST",
                        "Accept: */*\r\nContent-Type: text/plain\r\nReferer: r\r\n"
                        "content-length: 4\r\nCookie: a=1\r\n\r\n",
                        "body"};
  for (const long status : {301, 302, 303}) {
    const std::optional<RequestHop> next = FollowRedirect(post, status, "http://a/y");
    ASSERT_TRUE(next.has_value()) << status;
    EXPECT_EQ(next->url, "http://a/y");
    EXPECT_EQ(next->method, "GET");
    EXPECT_EQ(next->body, "");
    EXPECT_EQ(next->header_block, "Accept: */*\r\nReferer: r\r\nCookie: a=1\r\n\r\n");
  }
  const RequestHop get{"http://a/x", "GET", "Accept: */*\r\n", ""};
  EXPECT_EQ(FollowRedirect(get, 302, "https://b/")->method, "GET");
}

TEST(FollowRedirect, PostStaysWholeAfter307And308) {
  const RequestHop post{"http://a/x", "POST", "Content-Length: 4\r\n", "body"};
  for (const long status : {307, 308}) {
    const std::optional<RequestHop> next = FollowRedirect(post, status, "http://a/y");
    ASSERT_TRUE(next.has_value());
    EXPECT_EQ(next->method, "POST");
    EXPECT_EQ(next->body, "body");
    EXPECT_EQ(next->header_block, post.header_block);
  }
}

TEST(FollowRedirect, OnlyRedirectsToWebAddressesAreFollowed) {
  const RequestHop get{"http://a/x", "GET", "", ""};
  EXPECT_FALSE(FollowRedirect(get, 200, "http://a/y").has_value());
  EXPECT_FALSE(FollowRedirect(get, 304, "http://a/y").has_value());
  EXPECT_FALSE(FollowRedirect(get, 302, "file:///etc/passwd").has_value());
  EXPECT_FALSE(FollowRedirect(get, 302, "").has_value());
  EXPECT_TRUE(FollowRedirect(get, 308, "HTTPS://a/y").has_value());
}

}  // namespace
}  // namespace miravel
