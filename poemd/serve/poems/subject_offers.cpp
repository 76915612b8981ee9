#include "poemd/serve/poems/subject_offers.h"

#include <algorithm>

#include "poemd/compose/compose_options.h"
#include "poemd/compose/hidden_lines.h"
#include "poemd/compose/subject_choice.h"

namespace miravel::poemd {

std::vector<SubjectId> SubjectsOffered(const CorpusIndex& index, const PoemOrder& order,
                                       const Poem& poem) {
  if (!poem.other_subjects.empty() || poem.lines.empty()) return poem.other_subjects;
  // As the composer weighs them when it chooses (poem_composer.cpp).
  const ComposeOptions chooses;
  const std::vector<WeighedSubject> weighed =
      ChooseSubjects(HiddenLines(index, order, chooses), poem.occasion, chooses.weights,
                     chooses.sizes.subjects + chooses.sizes.subjects_offered);
  std::vector<SubjectId> offered;
  for (const WeighedSubject& w : weighed) {
    if (w.subject != poem.subject) offered.push_back(w.subject);
  }
  return offered;
}

}  // namespace miravel::poemd
