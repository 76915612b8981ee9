// What a poem is about, chosen before its lines (the index's subjects,
// subjects.h): a birthday poem is about long life and its blessings, a 中秋
// poem about the moon and reunion, a farewell about parting and the road.
// Each subject is weighed by three things, summed by their weights
// (Weights::subject_phrase, subject_occasion, subject_cover):
//   - how near its centre lies to the theme, or without one to the hidden
//     phrase read as a title (春风花月 is a spring night);
//   - whether its poems' titles are of the occasion's classes (寿, 送, ...);
//   - how well its lines hold the hidden characters at their places: a
//     subject whose poems lack a character can still host it from near
//     subjects and other poems, but less well. For a name or a plain
//     phrase this decides.
#pragma once

#include <functional>
#include <vector>

#include "poemd/compose/hidden_lines.h"
#include "poemd/compose/occasion.h"
#include "poemd/compose/poem.h"
#include "poemd/compose/terms/weights.h"

namespace miravel::poemd {

struct WeighedSubject {
  SubjectId subject = kNoSubject;
  float fit = 0;  // the three things, weighed and summed
};

// The subjects best for the poem, best first, at most `count`: the one the
// options ask for alone, when the index knows it; none when the index knows
// no subject.
std::vector<WeighedSubject> ChooseSubjects(const HiddenLines& hidden, Occasion occasion,
                                           const Weights& weights, size_t count);

// How far what `is` says of a subject or a poem makes it the occasion's: 1
// of its own class, 1/2 of a class beside it (ClassesOf, occasion.h), else 0.
float OccasionShare(const std::vector<MoodClass>& classes,
                    const std::function<bool(MoodClass)>& is);

}  // namespace miravel::poemd
