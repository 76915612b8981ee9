#include "composer/compose_outcome.h"

#include <gtest/gtest.h>

#include "composer/gbk_literal.h"
#include "web/timed_web_request.h"

namespace miravel {
namespace {

const Text kUrl = "http://poems.example:8080/qm/cts.php";

TEST(ComposeOutcome, APoemIsCompletion) {
  EXPECT_EQ(ComposeOutcomeMessage("<li>...</li>", 4, kUrl), CompletionMessage());
  EXPECT_TRUE(CompletionMessage().starts_with(Gbk("作诗完毕，")));
}

TEST(ComposeOutcome, EachFailureSaysWhatHappened) {
  EXPECT_EQ(ComposeOutcomeMessage("", 0, kUrl), Gbk("连不上作诗服务 poems.example:8080"));
  EXPECT_EQ(ComposeOutcomeMessage("", 0, "http://localhost/qm/cts.php"),
            Gbk("连不上作诗服务 localhost:80"));
  EXPECT_EQ(ComposeOutcomeMessage("", 0, "https://[::1]/x"), Gbk("连不上作诗服务 [::1]:443"));
  EXPECT_EQ(ComposeOutcomeMessage(kTimeoutMessage, 0, kUrl), Gbk("作诗服务 60 秒内没有回应"));
  EXPECT_EQ(ComposeOutcomeMessage("<html>busy</html>", 0, kUrl), Gbk("作诗服务的回复里没有诗"));
}

}  // namespace
}  // namespace miravel
