// Line term "occasion poem": a line of a poem whose title says it was
// written for the poem's occasion (a birthday's 寿 and 生日, a parting's 送
// and 别: subject_choice.h's title classes) is worth Weights::occasion_poem
// more, half as much for a class beside the occasion's own (a wedding's
// celebrations): a gift made of lines written for such a gift speaks of its
// occasion.
// Before it, and the subjects, a birthday poem took one line in twenty-five
// from a birthday poem, though the corpus holds eight or more such lines for
// three in four of the characters of common birthday wishes.
#pragma once

#include <algorithm>
#include <vector>

#include "poemd/compose/subject_choice.h"
#include "poemd/compose/terms/term.h"
#include "poemd/compose/terms/weights.h"
#include "poemd/index/subjects.h"

namespace miravel::poemd {

class OccasionPoemTerm final : public LineTerm {
 public:
  // `subjects` must outlive the term; no classes weigh nothing.
  OccasionPoemTerm(const Weights& weights, const SubjectModel& subjects,
                   std::vector<MoodClass> classes)
      : weights_(weights), subjects_(subjects), classes_(std::move(classes)) {}
  std::string_view Name() const override { return "occasion poem"; }
  LineStage Stage() const override { return LineStage::kFound; }
  Cost Weigh(const LineView& line) const override {
    if (classes_.empty() || subjects_.Count() == 0) return {};
    const MoodClass title = subjects_.TitleClassOf(line.traits->source);
    return {0, weights_.occasion_poem *
                   OccasionShare(classes_, [title](MoodClass c) { return c == title; })};
  }

 private:
  const Weights& weights_;
  const SubjectModel& subjects_;
  std::vector<MoodClass> classes_;
};

}  // namespace miravel::poemd
