// What the service says when it will not or cannot answer, worded for
// whoever asks.
#include "poemd/serve/routes/refusals.h"

#include <gtest/gtest.h>

namespace miravel::poemd {
namespace {

TEST(Refusals, ABrowserGetsAPageInChineseAndCurlALine) {
  for (const int status : {400, 408, 413, 414, 429, 431, 500, 503}) {
    const HttpReply page = Refusal(status, "why", true);
    EXPECT_EQ(page.status, status);
    EXPECT_EQ(page.content_type, "text/html; charset=utf-8");
    EXPECT_NE(page.body.find("<h1 class=\"heading\">"), std::string::npos) << status;
    EXPECT_EQ(page.body.find("why"), std::string::npos);  // English stays in the log
    const HttpReply line = Refusal(status, "why", false);
    EXPECT_EQ(line.content_type, "text/plain; charset=utf-8");
    EXPECT_TRUE(line.body.starts_with(std::to_string(status) + " ")) << line.body;
    EXPECT_TRUE(line.body.ends_with(": why\n")) << line.body;
  }
}

}  // namespace
}  // namespace miravel::poemd
