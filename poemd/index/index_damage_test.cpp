// Damaged and forged index files: each must be refused with a reason, never
// loaded, never read out of bounds.
#include <gtest/gtest.h>
#include <xxhash.h>

#include <cmath>
#include <cstring>
#include <random>

#include "poemd/index/corpus_index.h"
#include "poemd/index/index_sections.h"
#include "poemd/indexing/corpus_index_builder.h"
#include "poemd/testing/testing_corpus.h"
#include "poemd/testing/titled_poems.h"

namespace miravel::poemd {
namespace {

using Bytes = std::vector<std::byte>;
using namespace sections;

constexpr size_t kSectionCountAt = 24;
constexpr size_t kFileSizeAt = 32;
constexpr size_t kChecksumAt = 40;

Bytes Valid() {
  static const std::vector<std::byte> bytes = testing::SmallIndexFile();
  return bytes;
}

template <typename T>
T Get(const Bytes& bytes, size_t at) {
  T value;
  std::memcpy(&value, bytes.data() + at, sizeof value);
  return value;
}

template <typename T>
void Put(Bytes& bytes, size_t at, T value) {
  std::memcpy(bytes.data() + at, &value, sizeof value);
}

// A forger's file: the checksum made to match again.
void Reseal(Bytes& bytes) {
  Put<uint64_t>(bytes, kChecksumAt,
                XXH3_64bits(bytes.data() + kIndexHeaderBytes, bytes.size() - kIndexHeaderBytes));
}

struct Entry {
  size_t at;  // of the table entry
  uint32_t id;
  uint32_t element_size;
  uint64_t offset;
  uint64_t count;
};

std::vector<Entry> Table(const Bytes& bytes) {
  std::vector<Entry> table;
  const auto sections = Get<uint32_t>(bytes, kSectionCountAt);
  for (uint32_t k = 0; k < sections; ++k) {
    const size_t at = kIndexHeaderBytes + 24 * k;
    table.push_back({at, Get<uint32_t>(bytes, at), Get<uint32_t>(bytes, at + 4),
                     Get<uint64_t>(bytes, at + 8), Get<uint64_t>(bytes, at + 16)});
  }
  return table;
}

Entry Find(const Bytes& bytes, uint32_t id) {
  for (const Entry& e : Table(bytes)) {
    if (e.id == id) return e;
  }
  ADD_FAILURE() << "no section " << id;
  return {};
}

// "" when the bytes load, else the reason they are refused; damage in
// bytes is always Corruption.
std::string Refusal(Bytes bytes) {
  StatusOr<IndexFile> file = IndexFile::FromBytes(std::move(bytes));
  Status status = file.status();
  if (file.ok()) status = CorpusIndex::FromFile(std::move(*file)).status();
  if (status.ok()) return "";
  EXPECT_EQ(status.code(), StatusCode::kCorruption) << status.ToString();
  return status.message().empty() ? "refused without a reason" : status.message();
}

TEST(IndexDamage, TheValidFileLoads) { EXPECT_EQ(Refusal(Valid()), ""); }

TEST(IndexDamage, CutShortAtEverySectionBoundary) {
  const Bytes valid = Valid();
  for (const Entry& e : Table(valid)) {
    for (const uint64_t cut : {e.offset, e.offset + 1, e.offset + e.count * e.element_size - 1}) {
      if (cut >= valid.size()) continue;
      Bytes bytes(valid.begin(), valid.begin() + static_cast<std::ptrdiff_t>(cut));
      EXPECT_NE(Refusal(bytes), "") << "cut at " << cut;
      // Even when the header is made to agree with the cut.
      if (bytes.size() >= kIndexHeaderBytes) {
        Put<uint64_t>(bytes, kFileSizeAt, bytes.size());
        Reseal(bytes);
        EXPECT_NE(Refusal(bytes), "") << "resealed cut at " << cut;
      }
    }
  }
}

TEST(IndexDamage, EveryHeaderByteFlipped) {
  const Bytes valid = Valid();
  for (size_t at = 0; at < kIndexHeaderBytes; ++at) {
    Bytes bytes = valid;
    bytes[at] ^= std::byte{0x01};
    EXPECT_NE(Refusal(bytes), "") << "header byte " << at;
  }
}

TEST(IndexDamage, AFlippedByteAnywhereFailsTheChecksum) {
  const Bytes valid = Valid();
  std::mt19937 rng(7);
  for (int k = 0; k < 200; ++k) {
    Bytes bytes = valid;
    const size_t at = kIndexHeaderBytes + rng() % (bytes.size() - kIndexHeaderBytes);
    bytes[at] ^= std::byte{static_cast<unsigned char>(1 + rng() % 255)};
    EXPECT_NE(Refusal(bytes).find("checksum"), std::string::npos) << "byte " << at;
  }
}

TEST(IndexDamage, TheTableIsCheckedEvenWhenTheChecksumMatches) {
  const Bytes valid = Valid();
  const Entry traits = Find(valid, Id(kTraits, 0));
  const auto forged = [&](size_t at, auto value) {
    Bytes bytes = valid;
    Put(bytes, at, value);
    Reseal(bytes);
    return Refusal(bytes);
  };
  EXPECT_NE(forged(traits.at + 16, uint64_t{1} << 40), "");  // a count beyond the file
  EXPECT_NE(forged(traits.at + 16, traits.count + 1), "");   // one element too many
  EXPECT_NE(forged(traits.at + 8, uint64_t{3}), "");         // inside the header, unaligned
  EXPECT_NE(forged(traits.at + 8, uint64_t{valid.size()}), "");
  EXPECT_NE(forged(traits.at + 4, uint32_t{4}), "");   // elements of another size
  EXPECT_NE(forged(traits.at, uint32_t{0xDEAD}), "");  // a section renamed: one missing
  EXPECT_NE(forged(kSectionCountAt, uint32_t{1000}), "");
  EXPECT_NE(forged(16, uint32_t{kIndexFormatVersion + 1}).find("rebuild"), std::string::npos);
}

// Values out of range, with the checksum made to match.
class ForgedValues : public ::testing::Test {
 protected:
  // Writes `value` into element `element` of section `id` (at `byte` within
  // the element) and returns the refusal.
  template <typename T>
  std::string Forge(uint32_t id, size_t element, size_t byte, T value) {
    Bytes bytes = Valid();
    const Entry e = Find(bytes, id);
    EXPECT_LT(element, e.count);
    Put(bytes, e.offset + element * e.element_size + byte, value);
    Reseal(bytes);
    return Refusal(bytes);
  }
};

TEST_F(ForgedValues, LineTraits) {
  EXPECT_NE(Forge(Id(kTraits, 0), 0, 6, uint8_t{15}), "");      // rhyme group 15
  EXPECT_NE(Forge(Id(kTraits, 0), 0, 4, uint8_t{0xFF}), "");    // tones beyond the line
  EXPECT_NE(Forge(Id(kTraits, 0), 0, 5, uint8_t{0x1F}), "");    // 平 and 仄 at once
  EXPECT_NE(Forge(Id(kTraits, 0), 0, 0, uint32_t{999}), "");    // a source that is not there
  EXPECT_NE(Forge(Id(kTraits, 0), 0, 7, uint8_t{8 << 1}), "");  // a rank beyond the ranks
}

TEST_F(ForgedValues, TextsAndPostings) {
  EXPECT_NE(Forge(Id(kTexts, 0), 1, 0, char16_t{u'A'}).find("non-Chinese"), std::string::npos);
  // A line that does not hold its character, or is not there.
  EXPECT_NE(Forge(Id(kTexts, 0), 0, 0, char16_t{u'龘'}), "");
  EXPECT_NE(Forge(Id(kPostingLines, 0, 0), 0, 0, uint32_t{12345}), "");
  EXPECT_NE(Forge(Id(kPostingStarts, 0, 0), 1, 0, uint32_t{0xFFFFFFF0}), "");
  EXPECT_NE(Forge(Id(kPostingCharacters, 0, 1), 0, 0, char16_t{0xFFFF}), "");
  EXPECT_NE(Forge(Id(kCouplets, 0), 0, 0, uint32_t{12345}), "");
  EXPECT_NE(Forge(Id(kCoupletIds, 0, 0), 0, 0, uint32_t{12345}), "");
  EXPECT_NE(Forge(Id(kCoupletKeys, 0, 0), 0, 0, uint32_t{0}), "");
}

TEST_F(ForgedValues, ReadingsSourcesAndAssociations) {
  EXPECT_NE(Forge(Id(kReadings), u'春', 0, uint8_t{0x0F}), "");  // rhyme group 15
  EXPECT_NE(Forge(Id(kReadings), u'春', 0, uint8_t{0x31}), "");  // tone 3
  EXPECT_NE(Forge(Id(kSources), 0, 0, uint32_t{1 << 30}), "");
  EXPECT_NE(Forge(Id(kSources), 2, 0, uint32_t{99}), "");  // a dynasty beyond the list
  EXPECT_NE(Forge(Id(kVocabulary), u'春', 0, uint16_t{60000}), "");
  EXPECT_NE(Forge(Id(kCohesion), 3, 0, std::nanf("")), "");
  EXPECT_NE(Forge(Id(kCohesionSigns), 0, 0, 0.5f), "");
  EXPECT_NE(Forge(Id(kParallelModel), 5, 0, INFINITY), "");
  EXPECT_NE(Forge(Id(kParallelCharacterClasses), u'春', 0, uint8_t{200}), "");
}

TEST_F(ForgedValues, SourcePoems) {
  // A line said to stand past its poem's end, which the page would read.
  EXPECT_NE(Forge(Id(kLineWrittenAt, 0), 0, 0, uint32_t{100000}).find("not where its poem"),
            std::string::npos);
  EXPECT_NE(Forge(Id(kPoemStarts), 1, 0, uint32_t{1 << 30}).find("not whole"), std::string::npos);
  EXPECT_NE(Forge(Id(kPoemConvertedStarts), 1, 0, uint32_t{3}), "");
  EXPECT_NE(Forge(Id(kSources), 3, 0, uint32_t{1 << 30}), "");  // the traditional title
}

TEST_F(ForgedValues, Subjects) {
  EXPECT_NE(Forge(Id(kPoemSubjects), 0, 0, uint16_t{999}).find("subject"), std::string::npos);
  EXPECT_NE(Forge(Id(kPoemTitleClasses), 1, 0, uint8_t{200}), "");
  EXPECT_NE(Forge(Id(kSubjectLines, 0), 1, 0, uint32_t{1}).find("by subject"), std::string::npos);
  EXPECT_NE(Forge(Id(kSubjectCentres), 2, 0, std::nanf("")), "");
  EXPECT_NE(Forge(Id(kSubjectNearest), 0, 0, uint16_t{7}), "");
  EXPECT_NE(Forge(Id(kSubjectTitleClasses), 0, 0, uint16_t{1 << 15}), "");
  EXPECT_NE(Forge(Id(kSubjectNameStarts), 0, 0, uint32_t{1 << 30}), "");
  EXPECT_NE(Forge(Id(kSubjectVocabulary), u'春', 0, uint16_t{60000}), "");
}

// Lines of several subjects: the order that lets a subject's lines be
// found by binary search is checked too.
TEST(IndexDamage, LinesOutOfTheirSubjectsOrder) {
  CorpusIndexBuilder builder({.subjects = 3});
  for (const testing::TitledPoem& poem : testing::TitledPoems(120, 3)) {
    builder.AddPoem(testing::AsShi(poem));
  }
  const Bytes valid = builder.Finish();
  ASSERT_EQ(Refusal(valid), "");
  // The first two lines of the first character's run at the head, swapped.
  Bytes swapped = valid;
  const Entry lines = Find(valid, Id(kPostingLines, 0, 0));
  const auto first = Get<uint32_t>(valid, lines.offset);
  const auto second = Get<uint32_t>(valid, lines.offset + 4);
  Put(swapped, lines.offset, second);
  Put(swapped, lines.offset + 4, first);
  Reseal(swapped);
  EXPECT_NE(Refusal(swapped).find("out of order"), std::string::npos);
  // A poem said to be of another subject than its lines' range says.
  Bytes moved = valid;
  const Entry subjects = Find(valid, Id(kPoemSubjects));
  Put(moved, subjects.offset,
      static_cast<uint16_t>((Get<uint16_t>(valid, subjects.offset) + 1) % 3));
  Reseal(moved);
  EXPECT_NE(Refusal(moved).find("another subject"), std::string::npos);
}

TEST_F(ForgedValues, Pinyin) {
  EXPECT_NE(Forge(Id(kAloneSyllables), u'春', 0, uint16_t{kSyllableLimit - 1}), "");
  EXPECT_NE(Forge(Id(kSyllableNames), kSyllableBytes - 1, 0, 'x'), "");  // a name not ended
  EXPECT_NE(Forge(Id(kSyllableNames), 0, 0, 'x'), "");                   // no syllable 0
  EXPECT_NE(Forge(Id(kPolyphoneReadings), 0, 0, uint16_t{3 << kReadingClassShift | 1}), "");
  EXPECT_NE(Forge(Id(kPolyphoneReadings), 0, 0, uint16_t{0}), "");
  EXPECT_NE(Forge(Id(kPolyphoneStarts), 1, 0, uint32_t{99}), "");
  EXPECT_NE(Forge(Id(kPolyphoneVerse), 0, 0, uint8_t{101}), "");
  EXPECT_NE(Forge(Id(kLineSyllableKeys, 0), 0, 0, uint32_t{999 << 3}), "");  // no such line
  EXPECT_NE(Forge(Id(kLineSyllableKeys, 0), 0, 0, uint32_t{7}), "");         // no such place
  EXPECT_NE(Forge(Id(kLineSyllableValues, 0), 0, 0, uint16_t{kDecidedByWord}), "");
}

TEST(IndexDamage, AFileThatIsNoIndex) {
  const Status missing = CorpusIndex::Load("/nonexistent/poems.idx").status();
  EXPECT_EQ(missing.code(), StatusCode::kNotFound);
  EXPECT_NE(missing.message().find("cannot open /nonexistent/poems.idx"), std::string::npos);
  Bytes hello(100, std::byte{'h'});
  EXPECT_NE(Refusal(hello).find("not a poem index"), std::string::npos);
  EXPECT_NE(Refusal(Bytes(10)), "");
}

}  // namespace
}  // namespace miravel::poemd
