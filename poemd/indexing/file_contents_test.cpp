#include "poemd/indexing/file_contents.h"

#include <gtest/gtest.h>

#include <fstream>

namespace miravel::poemd {
namespace {

namespace fs = std::filesystem;

TEST(FileContents, EveryByteAsItIs) {
  const fs::path path =
      fs::temp_directory_path() /
      ("file-contents-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  // A zero byte, a CR LF and bytes that are no UTF-8 pass untouched.
  const std::string bytes = std::string("春\tping\r\n") + '\0' + "\xFF\xFE end";
  std::ofstream(path, std::ios::binary) << bytes;
  const StatusOr<std::string> read = FileContents(path);
  fs::remove(path);
  ASSERT_TRUE(read.ok()) << read.status().ToString();
  EXPECT_EQ(*read, bytes);
}

TEST(FileContents, AFileThatIsNotThereIsNotFound) {
  const StatusOr<std::string> read = FileContents("/nonexistent/guangyun.tsv");
  EXPECT_EQ(read.status().code(), StatusCode::kNotFound);
  EXPECT_EQ(read.status().message(), "cannot open /nonexistent/guangyun.tsv");
}

}  // namespace
}  // namespace miravel::poemd
