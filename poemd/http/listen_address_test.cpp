#include "poemd/http/listen_address.h"

#include <gtest/gtest.h>

namespace miravel::poemd {
namespace {

TEST(ParseListen, IPv4AndBracketedIPv6) {
  const auto v4 = ParseListen("127.0.0.1:8600");
  ASSERT_TRUE(v4.ok()) << v4.status().ToString();
  EXPECT_EQ(v4->host, "127.0.0.1");
  EXPECT_EQ(v4->port, 8600);
  const auto v6 = ParseListen("[::1]:0");
  ASSERT_TRUE(v6.ok()) << v6.status().ToString();
  EXPECT_EQ(v6->host, "::1");
  EXPECT_EQ(v6->port, 0);
  EXPECT_EQ(ParseListen("[fe80::1]:80")->host, "fe80::1");
}

TEST(ParseListen, RefusesWhatIsNotAnAddressAndAPort) {
  for (const char* text :
       {"127.0.0.1", "127.0.0.1:", "127.0.0.1:65536", "127.0.0.1:-1", "127.0.0.1:80x", ":80",
        "localhost:80", "::1:80", "[127.0.0.1]:80", "[::1]", "", "1.2.3:80"}) {
    const auto parsed = ParseListen(text);
    EXPECT_FALSE(parsed.ok()) << text;
    EXPECT_EQ(parsed.status().code(), StatusCode::kInvalidArgument) << text;
  }
}

}  // namespace
}  // namespace miravel::poemd
