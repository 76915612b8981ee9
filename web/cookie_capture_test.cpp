#include "web/cookie_capture.h"

#include <gtest/gtest.h>

namespace miravel {
namespace {

TEST(CookieCapture, PairsInHeaderOrderAndStoredData) {
  const CapturedCookies captured = CaptureCookies(
      "HTTP/1.1 200 OK\r\nSet-Cookie: a=1; path=/\r\nX: y\r\nset-cookie: b=2; path=/x\r\n");
  EXPECT_EQ(captured.pairs, "a=1;b=2;");
  ASSERT_EQ(captured.cookies.size(), 2u);
  EXPECT_EQ(captured.cookies[0].name, "a");
  EXPECT_EQ(captured.cookies[0].data, "1; path=/");
  EXPECT_EQ(captured.cookies[1].name, "b");
  EXPECT_EQ(captured.cookies[1].data, "2; path=/x");
}

TEST(CookieCapture, LineWithoutSemicolonAddsOnlySemicolonButIsStored) {
  const CapturedCookies captured = CaptureCookies("HTTP/1.1 200 OK\r\nSet-Cookie: c=3\r\n");
  EXPECT_EQ(captured.pairs, ";");
  ASSERT_EQ(captured.cookies.size(), 1u);
  EXPECT_EQ(captured.cookies[0].name, "c");
  EXPECT_EQ(captured.cookies[0].data, "3");
}

TEST(CookieCapture, NothingWithoutTheBlankAfterTheColon) {
  EXPECT_EQ(CaptureCookies("HTTP/1.1 200 OK\r\nSet-Cookie:a=1;\r\n").pairs, "");
  EXPECT_EQ(CaptureCookies("").pairs, "");
  EXPECT_TRUE(CaptureCookies("HTTP/1.1 200 OK\r\n").cookies.empty());
}

}  // namespace
}  // namespace miravel
