// What a subject is said to be: named by the title words that mark it, or
// by its characters when no title does; of the title classes its titled
// poems say often enough, against how often all poems say them.
#include "poemd/indexing/subject_descriptions.h"

#include <gtest/gtest.h>

#include "poemd/index/association.h"
#include "poemd/index/subjects.h"

namespace miravel::poemd {
namespace {

struct Made {
  std::u16string title;
  std::u16string text;
  uint16_t subject;
  MoodClass title_class = MoodClass::kOther;
};

SubjectDescriptions Describe(const std::vector<Made>& poems, size_t subjects) {
  std::vector<uint16_t> vocabulary(65536, kNotInVocabulary);
  uint16_t rows = 0;
  for (const Made& poem : poems) {
    for (const char16_t c : poem.text) {
      if (vocabulary[c] == kNotInVocabulary) vocabulary[c] = rows++;
    }
  }
  SubjectPoems read;
  read.subjects = subjects;
  read.poems = poems.size();
  read.subject = [&](size_t p) { return poems[p].subject; };
  read.title = [&](size_t p) { return std::u16string_view(poems[p].title); };
  read.text = [&](size_t p) { return std::u16string_view(poems[p].text); };
  read.title_class = [&](size_t p) { return poems[p].title_class; };
  read.counted = [](size_t) { return true; };
  return DescribeSubjects(read, vocabulary);
}

bool Belongs(const SubjectDescriptions& d, size_t subject, MoodClass c) {
  return (d.title_classes[subject] >> static_cast<int>(c) & 1) != 0;
}

TEST(DescribeSubjects, NamedByAWordOfTwoOverItsCharacterOrByItsCharacters) {
  std::vector<Made> poems;
  for (int k = 0; k < 20; ++k) {
    // Birthday poems titled 生日 and a name; ci without titles; others.
    poems.push_back({k % 2 ? u"生日张公" : u"生日李君", u"椿龄觞祝鹤", 0});
    poems.push_back({u"", u"红翠娇帘莺", 1});
    poems.push_back({k % 2 ? u"山居" : u"江行", u"山水云松石", 2});
  }
  const SubjectDescriptions d = Describe(poems, 3);
  EXPECT_EQ(d.names[0].substr(0, 4), u"题：生日");
  EXPECT_EQ(d.names[1].substr(0, 2), u"字：");
  EXPECT_NE(d.names[1].find(u'翠'), std::u16string::npos);
  EXPECT_NE(d.marks[0].find(u'椿'), std::u16string::npos);
  EXPECT_EQ(d.sizes, (std::vector<size_t>{20, 20, 20}));
}

TEST(DescribeSubjects, ATitleClassBelongsByItsShareAgainstAllPoems) {
  // 200 titled poems in ten subjects of 20. Birthday poems: 3 in subject 0
  // (15%, ten times their 1.5% of all); farewells, 30% of all: 3 in
  // subject 1 (15%, no more than their share), 6 in each of the others
  // (30%, over a quarter).
  std::vector<Made> poems;
  for (uint16_t s = 0; s < 10; ++s) {
    for (int k = 0; k < 20; ++k) {
      MoodClass c = MoodClass::kOther;
      if (s == 0 && k < 3) c = MoodClass::kBirthday;
      if (s == 1 && k < 3) c = MoodClass::kParting;
      if (s >= 2 && k < 6) c = MoodClass::kParting;
      poems.push_back({u"某题", u"山水", s, c});
    }
  }
  const SubjectDescriptions d = Describe(poems, 10);
  EXPECT_TRUE(Belongs(d, 0, MoodClass::kBirthday));
  EXPECT_FALSE(Belongs(d, 1, MoodClass::kParting));
  EXPECT_TRUE(Belongs(d, 2, MoodClass::kParting));
  EXPECT_FALSE(Belongs(d, 2, MoodClass::kBirthday));
  EXPECT_FALSE(Belongs(d, 0, MoodClass::kOther));
  EXPECT_EQ(d.title_shares[2 * kMoodClasses + static_cast<int>(MoodClass::kParting)], 77);
}

TEST(NearestSubjects, ClosestFirstThenItselfWhenTooFew) {
  // Three unit centres: 0 and 1 close together, 2 apart.
  const std::vector<float> centres = {1, 0, 0.8f, 0.6f, 0, 1};
  const std::vector<uint16_t> nearest = NearestSubjects(centres, 2);
  ASSERT_EQ(nearest.size(), 3u * kNearestSubjects);
  EXPECT_EQ(nearest[0], 1);
  EXPECT_EQ(nearest[1], 2);
  EXPECT_EQ(nearest[2], 0);  // no others left: itself
  EXPECT_EQ(nearest[2 * kNearestSubjects], 1);
}

}  // namespace
}  // namespace miravel::poemd
