// One QApplication (offscreen) and curl for the whole test program, as
// main() sets them up for the client.
#include <gtest/gtest.h>

#include <QApplication>
#include <memory>

#include "web/curl_library.h"
#include "web/exchange_worker.h"

namespace {

class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    miravel::StartLoadingCurl();
    app_ = std::make_unique<QApplication>(argc_, argv_);
  }
  void TearDown() override {
    app_.reset();
    miravel::JoinExchangeWorkers();
    miravel::ReleaseCurl();
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
