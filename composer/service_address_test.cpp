#include "composer/service_address.h"

#include <gtest/gtest.h>

namespace miravel {
namespace {

TEST(ServiceAddress, TheOptionThenTheEnvironmentThenTheBuildsDefault) {
  EXPECT_EQ(ResolveServiceUrl("http://a:1/qm/cts.php", "http://b/qm/cts.php"),
            "http://a:1/qm/cts.php");
  EXPECT_EQ(ResolveServiceUrl(std::nullopt, "http://b:2/qm/cts.php"), "http://b:2/qm/cts.php");
  EXPECT_EQ(ResolveServiceUrl(std::nullopt, nullptr), DefaultServiceUrl());
  EXPECT_EQ(ResolveServiceUrl(std::string(" "), ""), DefaultServiceUrl());
  EXPECT_TRUE(DefaultServiceUrl().starts_with("http://"));
  EXPECT_TRUE(DefaultServiceUrl().ends_with("/qm/cts.php"));
}

TEST(ServiceAddress, AHostAloneIsCompleted) {
  EXPECT_EQ(CompleteServiceUrl("127.0.0.1:8080"), "http://127.0.0.1:8080/qm/cts.php");
  EXPECT_EQ(CompleteServiceUrl("http://poems.example/"), "http://poems.example/qm/cts.php");
  EXPECT_EQ(CompleteServiceUrl("https://poems.example"), "https://poems.example/qm/cts.php");
  EXPECT_EQ(CompleteServiceUrl("HTTP://x:1/other/path"), "HTTP://x:1/other/path");
}

}  // namespace
}  // namespace miravel
