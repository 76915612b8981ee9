// What poems are about, learned from made-up titled poems (titled_poems.h):
// the subjects found are the poems' own, the held-back poems' subjects are
// found from their texts alone, and neither function words, numerals nor
// rhyme endings make a subject.
#include "poemd/indexing/subject_learner.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <numeric>

#include "poemd/indexing/mood_learner.h"
#include "poemd/indexing/subject_words.h"
#include "poemd/testing/titled_poems.h"
#include "text/utf.h"

namespace miravel::poemd {
namespace {

using testing::TitledPoem;

std::u16string Text(const TitledPoem& poem) {
  std::u16string text;
  for (const std::u16string& line : poem.lines) text += line;
  return text;
}

struct Learned {
  std::vector<TitledPoem> poems;
  LearnedSubjects subjects;
  std::string report;
  // Each made-up subject's learned one: the one most of its poems have.
  std::vector<SubjectId> of;
};

Learned Learn(std::vector<TitledPoem> poems, size_t subjects) {
  SubjectLearner learner({.subjects = subjects});
  for (const TitledPoem& poem : poems) {
    learner.AddPoem(poem.title, MoodOfTitle(poem.title), poem.lines, poem.form);
  }
  Learned out{std::move(poems), learner.Learn(2026), learner.Report(), {}};
  for (size_t s = 0; s < testing::kMadeUpSubjects; ++s) {
    std::map<SubjectId, int> votes;
    for (size_t p = 0; p < out.poems.size(); ++p) {
      if (out.poems[p].subject == s) ++votes[out.subjects.poem_subjects[p]];
    }
    SubjectId best = 0;
    for (const auto& [subject, n] : votes) {
      if (n > votes[best]) best = subject;
    }
    out.of.push_back(best);
  }
  return out;
}

// The share of poems whose learned subject is their made-up one's.
double Agreement(const Learned& learned) {
  size_t agree = 0;
  for (size_t p = 0; p < learned.poems.size(); ++p) {
    agree += learned.subjects.poem_subjects[p] == learned.of[learned.poems[p].subject];
  }
  return static_cast<double>(agree) / static_cast<double>(learned.poems.size());
}

// Of each learned subject's poems, the share of its commonest made-up
// subject: the least over the learned subjects.
double LeastPurity(const Learned& learned) {
  std::map<SubjectId, std::array<int, testing::kMadeUpSubjects>> counts;
  for (size_t p = 0; p < learned.poems.size(); ++p) {
    ++counts[learned.subjects.poem_subjects[p]][learned.poems[p].subject];
  }
  double least = 1;
  for (const auto& [subject, n] : counts) {
    const int all = std::accumulate(n.begin(), n.end(), 0);
    least = std::min(least, static_cast<double>(*std::max_element(n.begin(), n.end())) / all);
  }
  return least;
}

TEST(SubjectLearner, FindsTheSubjectsOfHeldBackPoemsByTheirTextsAlone) {
  const Learned learned = Learn(testing::TitledPoems(300, 7), 3);
  ASSERT_EQ(learned.subjects.centres.size(), 3 * size_t{kSubjectDims});
  EXPECT_EQ(std::set<SubjectId>(learned.of.begin(), learned.of.end()).size(), 3u);
  EXPECT_GT(Agreement(learned), 0.95);
  const SubjectModel model(learned.subjects.Arrays());
  ASSERT_TRUE(SubjectModel::Check(learned.subjects.Arrays(), learned.poems.size()).ok());
  int held = 0, found = 0;
  for (size_t p = 9; p < learned.poems.size(); p += 10) {
    ++held;
    const SubjectVector text = model.TextVector(Text(learned.poems[p]));
    found += model.NearestTo(text, 1)[0] == learned.of[learned.poems[p].subject];
  }
  EXPECT_GE(found, held * 9 / 10) << learned.report;
  EXPECT_NE(learned.report.find("subjects: 3, learned from 270 poems; of 30 held back"),
            std::string::npos)
      << learned.report;
}

TEST(SubjectLearner, RhymesFunctionWordsAndNumbersMakeNoSubject) {
  // Untitled, so that only the words can tell; the rhymes and the leaning
  // on numerals or function words split the poems as evenly as subjects.
  std::vector<TitledPoem> poems;
  for (TitledPoem& poem : testing::TitledPoems(360, 11, false)) {
    if (poem.subject != 2) poems.push_back(std::move(poem));
  }
  const Learned learned = Learn(std::move(poems), 2);
  EXPECT_NE(learned.of[0], learned.of[1]);
  EXPECT_GT(Agreement(learned), 0.9);
  const SubjectModel model(learned.subjects.Arrays());
  const SubjectVector none = model.TextVector(u"不无有之何一三千万百");
  EXPECT_EQ(none, SubjectVector{});
  // Two endings of one rhyme are no closer than two words of a subject,
  // though each poem that holds one holds the other.
  const auto closeness = [&](std::u16string_view a, std::u16string_view b) {
    return SubjectModel::Closeness(model.TextVector(a), model.TextVector(b));
  };
  EXPECT_LT(closeness(u"长", u"光"), closeness(u"梅", u"雪") - 0.3f);
  EXPECT_LT(closeness(u"山", u"年"), closeness(u"酒", u"帆") - 0.3f);
  for (size_t s = 0; s < model.Count(); ++s) {
    const std::u16string name = Utf8ToUtf16(model.Name(static_cast<SubjectId>(s)));
    EXPECT_EQ(name.substr(0, 2), u"字：") << Utf16ToUtf8(name);
    for (const char16_t c : name.substr(2)) {
      EXPECT_FALSE(IsSubjectless(c)) << Utf16ToUtf8(name);
      EXPECT_EQ(std::u16string_view(u"长光堂山天年").find(c), std::u16string_view::npos)
          << Utf16ToUtf8(name);
    }
  }
}

TEST(SubjectLearner, TheRegisterOfCiMakesNoSubject) {
  // A fourth of the poems are ci, untitled, in words of their own whatever
  // their subject. By their texts, a ci is as close to the shi of its
  // subject as those are to each other, and no closer to a ci of another
  // subject than a shi is to a shi of another.
  const Learned learned = Learn(testing::TitledPoems(480, 13, true, true), 6);
  EXPECT_GT(LeastPurity(learned), 0.9);
  const SubjectModel model(learned.subjects.Arrays());
  // Mean closeness by (both ci, same subject).
  double sums[2][2] = {}, pairs[2][2] = {};
  for (size_t p = 0; p < 120; ++p) {
    for (size_t q = p + 1; q < 120; ++q) {
      const TitledPoem& a = learned.poems[p];
      const TitledPoem& b = learned.poems[q];
      if (a.form != Register::kCi && b.form == Register::kCi) continue;
      const bool ci = a.form == Register::kCi && b.form == Register::kCi;
      const bool same = a.subject == b.subject;
      sums[ci][same] +=
          SubjectModel::Closeness(model.TextVector(Text(a)), model.TextVector(Text(b)));
      ++pairs[ci][same];
    }
  }
  const auto mean = [&](bool ci, bool same) { return sums[ci][same] / pairs[ci][same]; };
  EXPECT_GT(mean(false, true), 0.95);  // a ci, or a shi, and a shi of its subject
  EXPECT_LT(mean(true, false), mean(false, false) + 0.1);
}

TEST(SubjectLearner, NamesSubjectsByTheirTitlesWordsAndTitleClasses) {
  const Learned learned = Learn(testing::TitledPoems(300, 3), 3);
  const SubjectModel model(learned.subjects.Arrays());
  const auto name = [&](size_t s) { return Utf8ToUtf16(model.Name(learned.of[s])); };
  EXPECT_EQ(name(0).substr(0, 2), u"题：");
  EXPECT_NE(name(0).find(u"梅"), std::u16string::npos) << Utf16ToUtf8(name(0));
  EXPECT_NE(name(1).find(u"送"), std::u16string::npos) << Utf16ToUtf8(name(1));
  EXPECT_NE(name(2).find(u"寿"), std::u16string::npos) << Utf16ToUtf8(name(2));
  EXPECT_TRUE(model.BelongsTo(learned.of[2], MoodClass::kBirthday));
  EXPECT_FALSE(model.BelongsTo(learned.of[0], MoodClass::kBirthday));
  EXPECT_EQ(model.SubjectsOf(MoodClass::kParting), std::vector<SubjectId>{learned.of[1]});
  // A wish of long life is closest to the birthday poems; each subject's
  // nearest are the others.
  EXPECT_EQ(model.NearestTo(model.VectorOf(u"寿比松椿"), 1)[0], learned.of[2]);
  for (size_t s = 0; s < 3; ++s) {
    const auto nearest = model.Nearest(learned.of[s]);
    EXPECT_EQ(std::count(nearest.begin(), nearest.end(), learned.of[s]),
              kNearestSubjects - 2);  // two others, then itself
  }
}

TEST(SubjectLearner, PoemsOfOneSubjectAreCloserThanOfTwo) {
  const Learned learned = Learn(testing::TitledPoems(120, 5), 3);
  const SubjectModel model(learned.subjects.Arrays());
  double same = 0, apart = 0;
  int same_pairs = 0, apart_pairs = 0;
  for (uint32_t a = 0; a < 60; ++a) {
    for (uint32_t b = a + 1; b < 60; ++b) {
      const bool one = learned.poems[a].subject == learned.poems[b].subject;
      (one ? same : apart) += model.PoemsCloseness(a, b);
      ++(one ? same_pairs : apart_pairs);
    }
  }
  EXPECT_GT(same / same_pairs, apart / apart_pairs + 0.3);
  EXPECT_GT(model.PoemCloseness(0, learned.of[learned.poems[0].subject]), 0.8f);
}

TEST(SubjectLearner, ASmallCorpusGetsFewerSubjects) {
  // One a pool of poems: an occasion's titled poems (送友人, 寿张公) have
  // subjects of their own, the rest (咏梅) share what is left.
  for (const auto& [poems, subjects] : {std::pair<size_t, size_t>{0, 1}, {1, 1}, {30, 3}}) {
    const Learned learned = Learn(testing::TitledPoems(poems, 1), 256);
    const SubjectModel model(learned.subjects.Arrays());
    EXPECT_TRUE(SubjectModel::Check(learned.subjects.Arrays(), poems).ok());
    EXPECT_EQ(model.Count(), subjects) << poems << " poems";
    for (uint32_t p = 0; p < poems; ++p) {
      EXPECT_EQ(model.OfPoem(p), learned.of[learned.poems[p].subject]) << p;
    }
  }
}

TEST(SubjectLearner, AnOccasionsTitledPoemsMakeSubjectsOfTheirOwn) {
  // Birthday poems in the plum poems' words, titled 寿张公 still, keep to
  // subjects of birthday poems, and the plum poems keep out of them.
  std::vector<TitledPoem> poems = testing::TitledPoems(300, 11);
  for (size_t p = 2; p < poems.size(); p += 3) poems[p].lines = poems[p - 2].lines;
  const Learned learned = Learn(poems, 12);
  const SubjectModel model(learned.subjects.Arrays());
  for (size_t p = 0; p < learned.poems.size(); ++p) {
    const bool birthday = learned.poems[p].subject == 2;
    const bool titled = !learned.poems[p].title.empty();
    if (birthday && titled) {
      EXPECT_TRUE(model.BelongsTo(model.OfPoem(static_cast<uint32_t>(p)), MoodClass::kBirthday));
    } else if (!birthday && titled) {
      EXPECT_FALSE(model.BelongsTo(model.OfPoem(static_cast<uint32_t>(p)), MoodClass::kBirthday));
    }
  }
}

TEST(TitleWords, CharactersAndWordsThatCanSayWhatAPoemIsAbout) {
  const auto words = [](std::u16string_view title) {
    std::set<std::u16string> out;
    for (std::u16string word : TitleWords(title)) {
      if (word[1] == u'\0') word.pop_back();
      out.insert(word);
    }
    return out;
  };
  EXPECT_EQ(words(u"中秋夜二首"),
            (std::set<std::u16string>{u"中", u"秋", u"夜", u"中秋", u"秋夜"}));
  EXPECT_EQ(words(u"七夕"), (std::set<std::u16string>{u"夕", u"七夕"}));
  EXPECT_EQ(words(u"寄之一"), (std::set<std::u16string>{u"寄"}));
  EXPECT_TRUE(words(u"").empty());
}

}  // namespace
}  // namespace miravel::poemd
