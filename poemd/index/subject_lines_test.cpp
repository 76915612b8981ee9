// The index's lines by their poems' subjects: each subject's lines are one
// range of line numbers, and its lines that hold a character at a place are
// exactly those of the postings whose poems are of it, rank by rank.
#include <gtest/gtest.h>

#include "poemd/index/corpus_index.h"
#include "poemd/indexing/corpus_index_builder.h"
#include "poemd/testing/testing_corpus.h"
#include "poemd/testing/titled_poems.h"

namespace miravel::poemd {
namespace {

// The made-up subjects' poems as shi and as ci (which rank lower), and a
// few of the varied corpus's own.
CorpusIndex TitledIndex() {
  CorpusIndexBuilder builder({.subjects = 3});
  const std::vector<testing::TitledPoem> poems = testing::TitledPoems(240, 17);
  for (size_t k = 0; k < poems.size(); ++k) {
    PoemText poem = testing::AsShi(poems[k]);
    if (k % 4 == 3) poem.collection = Collection::kCi;
    builder.AddPoem(poem);
  }
  return builder.Build();
}

TEST(SubjectLines, EachSubjectsLinesAreOneRangeOfNumbers) {
  const CorpusIndex index = TitledIndex();
  const SubjectModel& subjects = index.Subjects();
  ASSERT_EQ(subjects.Count(), 3u);
  uint32_t next = 0;
  for (SubjectId s = 0; s < subjects.Count(); ++s) {
    const auto [first, end] = index.SubjectLineRange(s, 5);
    EXPECT_EQ(first, next);
    EXPECT_LT(first, end) << "subject " << s << " has no lines";
    for (uint32_t line = first; line < end; ++line) EXPECT_EQ(index.SubjectOf(5, line), s);
    next = end;
  }
  EXPECT_EQ(next, index.LineCount(5));
}

TEST(SubjectLines, ASubjectsLinesWithACharacterAreItsPostingsByRank) {
  const CorpusIndex index = TitledIndex();
  size_t seen = 0;
  for (const char16_t c : std::u16string_view(u"梅雪别酒椿鹤不一")) {
    for (int position = 0; position < 5; ++position) {
      const auto all = index.LinesWith(c, 5, position);
      for (SubjectId s = 0; s < index.Subjects().Count(); ++s) {
        std::vector<uint32_t> expected[kSourceRanks];
        for (const uint32_t line : all) {
          if (index.SubjectOf(5, line) == s) {
            expected[static_cast<int>(index.Traits(5, line).rank())].push_back(line);
          }
        }
        const SubjectLines found = index.LinesWith(c, 5, position, s);
        for (int rank = 0; rank < kSourceRanks; ++rank) {
          EXPECT_EQ(std::vector<uint32_t>(found.by_rank[rank].begin(), found.by_rank[rank].end()),
                    expected[rank])
              << "subject " << s << " rank " << rank << " position " << position;
        }
        seen += found.size();
      }
    }
  }
  EXPECT_GT(seen, 100u);
}

TEST(SubjectLines, ALineIsAsCloseToItsSubjectAsItsPoemIs) {
  const CorpusIndex index = TitledIndex();
  const auto plum = index.LinesWith(u'梅', 5, 0);
  const auto crane = index.LinesWith(u'鹤', 5, 0);
  ASSERT_FALSE(plum.empty());
  ASSERT_FALSE(crane.empty());
  const SubjectId of_plum = index.SubjectOf(5, plum[0]);
  EXPECT_GT(index.Closeness(5, plum[0], of_plum), index.Closeness(5, crane[0], of_plum));
  EXPECT_GT(index.Closeness(5, plum[0], 5, plum[1]), index.Closeness(5, plum[0], 5, crane[0]));
  // The birthday poems' subject belongs to birthdays; its lines' poems are
  // titled so.
  const std::vector<SubjectId> birthdays = index.Subjects().SubjectsOf(MoodClass::kBirthday);
  ASSERT_EQ(birthdays.size(), 1u);
  EXPECT_EQ(index.SubjectOf(5, crane[0]), birthdays[0]);
}

TEST(SubjectLines, ASmallIndexHasOneSubjectHoldingEveryLine) {
  const CorpusIndex index = testing::MadeUpCorpus();
  ASSERT_EQ(index.Subjects().Count(), 1u);
  EXPECT_EQ(index.SubjectLineRange(0, 7).second, index.LineCount(7));
  EXPECT_EQ(index.LinesWith(u'春', 5, 0, 0).size(), index.LinesWith(u'春', 5, 0).size());
}

}  // namespace
}  // namespace miravel::poemd
