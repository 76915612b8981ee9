// curl is set up once for the test program, as main() does for the client,
// and overrun workers are joined before it ends.
#include <curl/curl.h>
#include <gtest/gtest.h>

#include "web/exchange_worker.h"

namespace {

class CurlEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { curl_global_init(CURL_GLOBAL_DEFAULT); }
  void TearDown() override { miravel::JoinExchangeWorkers(); }
};

[[maybe_unused]] ::testing::Environment* const kCurl =
    ::testing::AddGlobalTestEnvironment(new CurlEnvironment);

}  // namespace
