// What the subject learner (subject_learner.h) says of how well it learned,
// for the learners' report: of the poems it held back, how often the
// subject their text alone gives is the one their title and text give, and
// how often a poem of a title class (寿, 中秋, 送 ...) falls in a subject of
// that class; and the largest subjects, by name, size, the characters that
// mark them and the title classes they belong to.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "poemd/index/moods.h"
#include "poemd/indexing/subject_descriptions.h"

namespace miravel::poemd {

struct HeldOutSubjects {
  size_t poems = 0;
  size_t same = 0;     // its text alone gives its subject
  size_t nearest = 0;  // its subject is among the three its text alone is closest to
  // Per title class: poems titled so, and those whose subject belongs to
  // the class, by their text alone and by title and text.
  std::array<size_t, kMoodClasses> titled{};
  std::array<size_t, kMoodClasses> found_by_text{};
  std::array<size_t, kMoodClasses> found_by_both{};
  // Of the poems of no class, those whose subject by text alone belongs to
  // each class.
  std::array<size_t, kMoodClasses> mistaken{};
};

std::string SubjectReport(const SubjectDescriptions& descriptions, const HeldOutSubjects& held,
                          size_t largest);

}  // namespace miravel::poemd
