#include "common/status.h"

#include <gtest/gtest.h>

#include <memory>

namespace miravel {
namespace {

TEST(Status, OkHasNoMessageAndPrefixingKeepsItOk) {
  const Status ok;
  EXPECT_TRUE(ok.ok());
  EXPECT_EQ(ok.ToString(), "OK");
  EXPECT_TRUE(ok.Prefixed("loading").ok());
  EXPECT_EQ(ok, Status::Ok());
}

TEST(Status, PrefixingKeepsTheCode) {
  const Status damaged = Status::Corruption("a section is cut").Prefixed("poems.idx");
  EXPECT_EQ(damaged.code(), StatusCode::kCorruption);
  EXPECT_EQ(damaged.message(), "poems.idx: a section is cut");
  EXPECT_EQ(damaged.ToString(), "Corruption: poems.idx: a section is cut");
}

TEST(Status, SystemErrorsGetTheCodesCallersBranchOn) {
  const auto from = [](std::errc e) {
    return StatusFromErrorCode(std::make_error_code(e), "listening on 127.0.0.1:80");
  };
  EXPECT_EQ(from(std::errc::address_in_use).code(), StatusCode::kAddressInUse);
  EXPECT_EQ(from(std::errc::permission_denied).code(), StatusCode::kPermissionDenied);
  EXPECT_EQ(from(std::errc::operation_not_permitted).code(), StatusCode::kPermissionDenied);
  EXPECT_EQ(from(std::errc::no_such_file_or_directory).code(), StatusCode::kNotFound);
  EXPECT_EQ(from(std::errc::address_not_available).code(), StatusCode::kInvalidArgument);
  EXPECT_EQ(from(std::errc::io_error).code(), StatusCode::kIOError);
  EXPECT_EQ(from(std::errc::address_in_use).message().rfind("listening on 127.0.0.1:80: ", 0), 0u);
  EXPECT_TRUE(StatusFromErrorCode(std::error_code(), "nothing").ok());
}

TEST(StatusOr, HoldsAValueOrTheStatus) {
  StatusOr<std::unique_ptr<int>> held(std::make_unique<int>(7));
  ASSERT_TRUE(held.ok());
  EXPECT_EQ(**held, 7);
  const std::unique_ptr<int> taken = std::move(held).value();
  EXPECT_EQ(*taken, 7);

  const StatusOr<int> refused(Status::InvalidArgument("gender must be 5 or 7"));
  EXPECT_FALSE(refused.ok());
  EXPECT_EQ(refused.status().code(), StatusCode::kInvalidArgument);
  EXPECT_EQ(refused.status().message(), "gender must be 5 or 7");
}

TEST(StatusOr, AnOkStatusWithoutAValueIsNotOk) {
  const StatusOr<int> wrong{Status::Ok()};
  EXPECT_FALSE(wrong.ok());
  EXPECT_FALSE(wrong.status().ok());
}

TEST(StatusOrDeathTest, ReadingAMissingValueAborts) {
  const StatusOr<int> missing(Status::NotFound("no index"));
  EXPECT_DEATH((void)missing.value(), "no index");
}

}  // namespace
}  // namespace miravel
