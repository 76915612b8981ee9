#include "poemd/http/request_log.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace miravel::poemd {
namespace {

TEST(RequestLog, OneLineWithItsFields) {
  const RequestRecord record{"127.0.0.1", "POST", "/qm/cts.php", 200, 1.234, "4 characters"};
  EXPECT_EQ(FormatRecord(record, /*for_journal=*/true),
            "<6>127.0.0.1 \"POST /qm/cts.php\" 200 1.23 ms 4 characters");
  const std::string line = FormatRecord(record, /*for_journal=*/false);
  // 2026-12-09T05:50:27 and a blank before the peer.
  ASSERT_GT(line.size(), 20u);
  EXPECT_EQ(line[4], '-');
  EXPECT_EQ(line[10], 'T');
  EXPECT_EQ(line.substr(20), "127.0.0.1 \"POST /qm/cts.php\" 200 1.23 ms 4 characters");
}

TEST(RequestLog, ServerErrorsAreWarningsAndMissingPartsAreDashes) {
  const RequestRecord record{"::1", "", "", 500, 0, ""};
  EXPECT_EQ(FormatRecord(record, true), "<4>::1 \"- -\" 500 0.00 ms");
}

TEST(RequestLog, NothingTheClientSendsForgesALineOrAField) {
  // Hidden characters logged with --log-characters: a quote, a line break
  // and a forged line after it.
  const RequestRecord record{
      "10.0.0.1", "GET", "/poem?x=\"a\\b",
      200,        1,     "\xE6\x98\xA5\" 200\n<3>10.0.0.9 \"GET /admin\" 200 1.00 ms\r\x1B[31m"};
  const std::string line = FormatRecord(record, true);
  EXPECT_EQ(line.find('\n'), std::string::npos);
  EXPECT_EQ(line.find('\r'), std::string::npos);
  EXPECT_EQ(line.find('\x1B'), std::string::npos);
  // Only the two quotes around the request line are left as quotes.
  EXPECT_EQ(std::count(line.begin(), line.end(), '"'), 2);
  EXPECT_NE(line.find("/poem?x=\\x22a\\x5Cb"), std::string::npos) << line;
  EXPECT_NE(line.find("\xE6\x98\xA5\\x22 200\\x0A<3>"), std::string::npos) << line;
}

}  // namespace
}  // namespace miravel::poemd
