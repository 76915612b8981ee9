#include "common/memory_file.h"

#include <gtest/gtest.h>

#include <thread>

namespace miravel {
namespace {

using namespace std::string_literals;

TEST(MemoryFile, RecordRoundTripKeepsZeroBytesAndEmptySlots) {
  const int number = OpenMemoryFile();
  auto file = FindMemoryFile(number);
  ASSERT_NE(file, nullptr);
  const Record record{"http://x/", ""s, "a\0b"s, std::string(5000, 'z')};
  ASSERT_TRUE(file->WriteRecord(record));
  file->Rewind();
  EXPECT_EQ(file->ReadRecord(), record);
  CloseMemoryFile(number);
}

TEST(MemoryFile, ReadFailsOnWhatIsNotAWholeRecord) {
  MemoryFile file;
  EXPECT_FALSE(file.ReadRecord().has_value());              // empty
  file.WriteText("\x05\x00\x00\x00\x00\x00\x00\x00tiny"s);  // claims five slots
  file.Rewind();
  EXPECT_FALSE(file.ReadRecord().has_value());
  file.Rewind();
  file.WriteRecord({"ab"});
  file.Rewind();
  EXPECT_EQ(file.ReadRecord(), Record{"ab"});
}

TEST(MemoryFile, RewritingAtTheStartOverwrites) {
  MemoryFile file;
  file.WriteRecord({"first", "second"});
  file.Rewind();
  file.WriteRecord({"x"});
  file.Rewind();
  EXPECT_EQ(file.ReadRecord(), Record{"x"});
}

TEST(MemoryFile, LinesWithoutTheirBreaksUntilTheEnd) {
  MemoryFile file;
  file.WriteText("one\r\ntwo\nthree");
  file.Rewind();
  std::vector<Text> lines;
  while (!file.AtEnd()) lines.push_back(file.ReadLine());
  EXPECT_EQ(lines, (std::vector<Text>{"one", "two", "three"}));
  EXPECT_EQ(file.ReadLine(), "");
}

TEST(MemoryFile, ClosedFileIsGoneByNumberButSafeForHolders) {
  const int number = OpenMemoryFile();
  auto held = FindMemoryFile(number);
  CloseMemoryFile(number);
  EXPECT_EQ(FindMemoryFile(number), nullptr);
  EXPECT_FALSE(held->WriteRecord({"late"}));
  EXPECT_FALSE(held->ReadRecord().has_value());
  EXPECT_TRUE(held->AtEnd());
  EXPECT_NE(OpenMemoryFile(), number);
}

TEST(MemoryFile, NumbersReachTheSameFileFromAnotherThread) {
  const int number = OpenMemoryFile();
  std::thread([number] { FindMemoryFile(number)->WriteRecord({"from worker"}); }).join();
  auto file = FindMemoryFile(number);
  file->Rewind();
  EXPECT_EQ(file->ReadRecord(), Record{"from worker"});
  CloseMemoryFile(number);
}

}  // namespace
}  // namespace miravel
