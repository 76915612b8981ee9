// One QApplication (offscreen) and curl for the whole test program, as
// main() sets them up for the client.
#include <curl/curl.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "web/exchange_worker.h"

namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    curl_global_init(CURL_GLOBAL_DEFAULT);
    app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override {
    app_.reset();
    miravel::JoinExchangeWorkers();
  }

 private:
  int argc_ = 1;
  char name_[16] = "composer_tests";
  char* argv_[2] = {name_, nullptr};
  std::unique_ptr<QApplication> app_;
};

[[maybe_unused]] ::testing::Environment* const kQt =
    ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace
