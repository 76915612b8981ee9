#include "web/url_helpers.h"

#include <gtest/gtest.h>

namespace miravel {
namespace {

struct UrlCase {
  const char* url;
  const char* host;
  const char* path;
  int port;
};

TEST(UrlHelpers, HostPathAndPort) {
  const UrlCase cases[] = {
      {"http://MyHost:88/x/y?z=1", "myhost", "/x/y?z=1", 88},
      {"http://MyHost", "myhost", "/", 80},
      {"http://MyHost:81", "myhost", "/", 81},
      {"http://MyHost?z=1", "myhost?z=1", "/", 80},
      {"MyHost:81/x", "myhost", "/x", 81},
      {"MyHost/x", "myhost", "/x", 80},
      {"http://a.b/r?to=http://c.d/e", "a.b", "/r?to=http://c.d/e", 80},
      {"http://user:pw@Host/x", "user", "/x", 0},
      {"https://Secure.example/p", "secure.example", "/p", 0},
      {"http://h:99999999999/", "h", "/", 2147483647},
  };
  for (const UrlCase& c : cases) {
    EXPECT_EQ(GetUrlHost(c.url), c.host) << c.url;
    EXPECT_EQ(GetUrlPath(c.url), c.path) << c.url;
    EXPECT_EQ(GetUrlPort(c.url), c.port) << c.url;
  }
}

TEST(UrlHelpers, TextBetweenUserAgentValue) {
  const Text block = "Accept: */*\r\nUser-Agent: Foo 1.0\r\nX: y\r\n";
  EXPECT_EQ(GetTextBetween(block, "User-Agent:", "\r\n"), " Foo 1.0");
  EXPECT_EQ(GetTextBetween("user-agent: Bar\r\n", "User-Agent:", "\r\n"), " Bar");
  EXPECT_EQ(GetTextBetween("user-agent: Bar\r\n", "User-Agent:", "\r\n", 1, true), "");
  EXPECT_EQ(GetTextBetween("X: y\r\nUser-Agent: Last", "User-Agent:", "\r\n"), "");
  EXPECT_EQ(GetTextBetween("abc", "x", "c"), "");
}

TEST(UrlHelpers, TextBetweenQuoteMarker) {
  const Text quote_marker = "#\xD2\xFD\xBA\xC5";
  EXPECT_EQ(GetTextBetween("<a value=\"42\" b=\"7\">", "value=" + quote_marker, quote_marker),
            "42");
}

TEST(UrlHelpers, TextBetweenStartAppliesToBothSearches) {
  // Left "[" from byte 3 is the second one; in the rest "b]c]" the search
  // for "]" also starts at byte 3.
  EXPECT_EQ(GetTextBetween("[a[b]c]", "[", "]", 3), "b]c");
}

TEST(UrlHelpers, TextBefore) {
  EXPECT_EQ(GetTextBefore("a=1; path=/", ";"), "a=1");
  EXPECT_EQ(GetTextBefore("a=1", ";"), "");
  EXPECT_EQ(GetTextBefore("a;b;c", ";", 3), "a;b");
  EXPECT_EQ(GetTextBefore("aXbx", "x"), "aXb");
  EXPECT_EQ(GetTextBefore("aXbx", "x", 0, true), "a");
}

}  // namespace
}  // namespace miravel
