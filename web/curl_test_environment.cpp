// libcurl is loaded once for the test program, as the client loads it, and
// overrun workers are joined before it ends.
#include <gtest/gtest.h>

#include "web/curl_library.h"
#include "web/exchange_worker.h"

namespace {

class CurlEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { ASSERT_NE(miravel::CurlLibrary(), nullptr); }
  void TearDown() override {
    miravel::JoinExchangeWorkers();
    miravel::ReleaseCurl();
  }
};

[[maybe_unused]] ::testing::Environment* const kCurl =
    ::testing::AddGlobalTestEnvironment(new CurlEnvironment);

}  // namespace
