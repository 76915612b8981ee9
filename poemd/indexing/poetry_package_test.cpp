#include "poemd/indexing/poetry_package.h"

#include <gtest/gtest.h>

#include <fstream>

namespace miravel::poemd {
namespace {

namespace fs = std::filesystem;

class PoetryPackageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() /
            ("poetry-package-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(root_);
  }
  void TearDown() override { fs::remove_all(root_); }

  void Write(const std::string& relative, const std::string& text) {
    const fs::path path = root_ / "dist" / relative;
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
  }

  fs::path root_;
};

TEST_F(PoetryPackageTest, TangAndSongShiComeFirstThenCiThenDrama) {
  Write("yuanqu/yuanqu.json", "[]");
  Write("songci/ci.song.0.json", "[]");
  Write("quantangshi/poet.song.0.json", "[]");
  Write("quantangshi/poet.tang.0.json", "[]");
  Write("quantangshi/authors.tang.json", "[]");
  Write("quantangshi/error/poet.tang.1.json", "[]");
  Write("caocaoshiji/caocao.json", "[]");
  Write("quantangshi/notes.txt", "not verse");
  const std::vector<VerseFile> files = VerseFiles(root_);
  ASSERT_EQ(files.size(), 5u);
  EXPECT_EQ(files[0].path.filename(), "poet.song.0.json");
  EXPECT_EQ(files[0].dynasty, Dynasty::kSong);
  EXPECT_EQ(files[1].path.filename(), "poet.tang.0.json");
  EXPECT_EQ(files[1].dynasty, Dynasty::kTang);
  EXPECT_EQ(files[0].collection, Collection::kTangSongShi);
  EXPECT_EQ(files[2].collection, Collection::kCi);
  EXPECT_EQ(files[3].collection, Collection::kOtherShi);
  EXPECT_EQ(files[3].dynasty, Dynasty::kWei);
  EXPECT_EQ(files[4].collection, Collection::kDrama);
  EXPECT_TRUE(VerseFiles(root_ / "nothing").empty());
}

TEST_F(PoetryPackageTest, PoemsWithTheirTitlesTunesAndAuthors) {
  Write("songci/ci.song.0.json",
        R"([{"author": "甲", "rhythmic": "浣溪沙", "paragraphs": ["一曲新词酒一杯。"]},
            {"author": "乙", "title": "题", "para": ["春风。"]},
            {"title": "无诗"}, 7])");
  const std::vector<VerseFile> files = VerseFiles(root_);
  ASSERT_EQ(files.size(), 1u);
  std::vector<PoemText> poems;
  ASSERT_TRUE(ReadPoems(files[0], [&](const PoemText& poem) { poems.push_back(poem); }).ok());
  ASSERT_EQ(poems.size(), 2u);
  EXPECT_EQ(poems[0].title, "浣溪沙");  // a ci goes by its tune
  EXPECT_EQ(poems[0].author, "甲");
  EXPECT_EQ(poems[0].paragraphs, std::vector<std::string>{"一曲新词酒一杯。"});
  EXPECT_EQ(poems[0].collection, Collection::kCi);
  EXPECT_EQ(poems[1].title, "题");
  EXPECT_EQ(poems[1].paragraphs, std::vector<std::string>{"春风。"});
}

TEST_F(PoetryPackageTest, FilesThatHoldNoPoemsOrCannotBeRead) {
  Write("songci/ci.song.0.json", R"({"names": []})");
  const VerseFile names = VerseFiles(root_)[0];
  int visited = 0;
  EXPECT_EQ(ReadPoems(names, [&](const PoemText&) { ++visited; }).code(), StatusCode::kCorruption);
  const VerseFile missing{root_ / "dist" / "songci" / "gone.json", Collection::kCi, Dynasty::kSong};
  EXPECT_EQ(ReadPoems(missing, [&](const PoemText&) { ++visited; }).code(), StatusCode::kNotFound);
  EXPECT_EQ(visited, 0);
}

}  // namespace
}  // namespace miravel::poemd
