// What each subject the subject learner found (subject_learner.h) is, for
// the index and for a reader of the learners' report: its name, the words
// of its poems' titles that mark it most against all poems ("题：中秋 玩月"),
// or where no title word does, the characters of its poems' texts that do
// ("字：松 鹤 云"); those characters; the share of its titled poems of each
// title class (moods.h), and the classes it belongs to: those of a quarter
// of its titled poems, or of a tenth when that is five times the class's
// share of all titled poems (a birthday subject is seldom more than half
// birthday poems, but birthday poems are one in a hundred); and the
// subjects nearest it.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "poemd/index/moods.h"

namespace miravel::poemd {

// The poems as the describer reads them. `counted`: the poem is one the
// subjects were learned from (held-back poems are not).
struct SubjectPoems {
  size_t subjects = 0;
  size_t poems = 0;
  std::function<uint16_t(size_t)> subject;
  std::function<std::u16string_view(size_t)> title;
  std::function<std::u16string_view(size_t)> text;
  std::function<MoodClass(size_t)> title_class;
  std::function<bool(size_t)> counted;
  // Whether two characters side by side are a word that may name a
  // subject; without it, any pair.
  std::function<bool(std::u16string_view)> is_word;
};

struct SubjectDescriptions {
  std::vector<std::u16string> names;
  std::vector<std::u16string> marks;    // the characters that mark each most, first first
  std::vector<size_t> sizes;            // its counted poems
  std::vector<uint8_t> title_shares;    // subjects * kMoodClasses, of 255
  std::vector<uint16_t> title_classes;  // per subject, bit c: it belongs to class c
};

// `vocabulary`: 65536 entries, the characters that may mark a subject (a
// row, or kNotInVocabulary).
SubjectDescriptions DescribeSubjects(const SubjectPoems& poems,
                                     std::span<const uint16_t> vocabulary);

// For each of the `dims`-long unit `centres`, the kNearestSubjects others
// closest to it, closest first (itself when there are too few).
std::vector<uint16_t> NearestSubjects(std::span<const float> centres, int dims);

// The title classes a report names, as "寿" or "送".
const char* TitleClassName(MoodClass title_class);

}  // namespace miravel::poemd
