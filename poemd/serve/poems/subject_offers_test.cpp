// The subjects a poem's page offers in its own subject's stead, on made-up
// poems of three subjects (咏梅, 送友人, 寿张公) and those their titles make.
#include "poemd/serve/poems/subject_offers.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "poemd/compose/poem_composer.h"
#include "poemd/testing/testing_corpus.h"
#include "poemd/testing/titled_poems.h"

namespace miravel::poemd {
namespace {

bool Holds(const std::vector<SubjectId>& subjects, SubjectId subject) {
  return std::find(subjects.begin(), subjects.end(), subject) != subjects.end();
}

TEST(SubjectsOffered, AreTheOthersTheComposerWeighed) {
  const PoemOrder order = testing::OrderFor(u"梅香", 5, Place::kHead);
  const Poem poem = ComposePoem(testing::TitledIndex(), order, {.seed = 3});
  ASSERT_NE(poem.subject, kNoSubject);
  const std::vector<SubjectId> offered = SubjectsOffered(testing::TitledIndex(), order, poem);
  EXPECT_EQ(offered, poem.other_subjects);
  EXPECT_EQ(offered.size(), testing::TitledIndex().Subjects().Count() - 1);
  EXPECT_FALSE(Holds(offered, poem.subject));
}

TEST(SubjectsOffered, UnderAChosenSubjectAreThoseTheComposerWouldHaveWeighed) {
  const PoemOrder order = testing::OrderFor(u"梅香", 5, Place::kHead);
  const Poem chosen_by_composer = ComposePoem(testing::TitledIndex(), order, {.seed = 3});
  const size_t subjects = testing::TitledIndex().Subjects().Count();
  ASSERT_GE(subjects, testing::kMadeUpSubjects);
  for (SubjectId asked = 0; asked < subjects; ++asked) {
    const Poem poem = ComposePoem(testing::TitledIndex(), order, {.seed = 3, .subject = asked});
    ASSERT_EQ(poem.subject, asked);
    ASSERT_TRUE(poem.other_subjects.empty());  // the composer weighed no other
    const std::vector<SubjectId> offered = SubjectsOffered(testing::TitledIndex(), order, poem);
    EXPECT_EQ(offered.size(), subjects - 1) << asked;
    EXPECT_FALSE(Holds(offered, asked));
    if (asked != chosen_by_composer.subject) {
      EXPECT_TRUE(Holds(offered, chosen_by_composer.subject)) << asked;
    }
  }
}

}  // namespace
}  // namespace miravel::poemd
