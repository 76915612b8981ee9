// Line term "subject": lines of poems about the poem's subject come first,
// lines of poems about near subjects next, any line last
// (subject_choice.h chose the subject, and the near ones, before the
// lines): Weights::subject for a line of the subject's poems, half that for
// a line of a near subject's. Told by the line's number alone (the index
// numbers lines by their poems' subjects), so that weighing every line read
// costs no look into memory; how close each chosen line's poem lies to the
// whole poem, the one-subject term weighs (one_subject_term.h).
// Weights::subject, 0.5: tuned with the one-subject term's weights, whose
// header gives the figures.
#pragma once

#include <span>
#include <vector>

#include "poemd/compose/poem.h"
#include "poemd/compose/terms/term.h"
#include "poemd/compose/terms/weights.h"
#include "poemd/index/corpus_index.h"

namespace miravel::poemd {

class SubjectTerm final : public LineTerm {
 public:
  // The lines of `length` of `subject`'s poems and of `near` subjects'
  // poems. `index` must outlive the term; kNoSubject weighs nothing.
  SubjectTerm(const Weights& weights, const CorpusIndex& index, int length, SubjectId subject,
              std::span<const SubjectId> near)
      : weights_(weights) {
    if (subject == kNoSubject || index.Subjects().Count() == 0) return;
    own_ = index.SubjectLineRange(subject, length);
    for (const SubjectId other : near) near_.push_back(index.SubjectLineRange(other, length));
  }
  std::string_view Name() const override { return "subject"; }
  LineStage Stage() const override { return LineStage::kFound; }
  Cost Weigh(const LineView& line) const override {
    if (In(own_, line.line)) return {0, weights_.subject};
    for (const auto& range : near_) {
      if (In(range, line.line)) return {0, 0.5f * weights_.subject};
    }
    return {};
  }

 private:
  static bool In(const std::pair<uint32_t, uint32_t>& range, uint32_t line) {
    return line >= range.first && line < range.second;
  }

  const Weights& weights_;
  std::pair<uint32_t, uint32_t> own_{0, 0};
  std::vector<std::pair<uint32_t, uint32_t>> near_;
};

}  // namespace miravel::poemd
