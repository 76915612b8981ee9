// Poem term "one subject": every line close to what the poem as a whole is
// about, not to its neighbour: the closeness of a line's source poem to
// the centre of the subject and of all the lines before it (their poems'
// vectors summed), times Weights::one_subject. Real quatrains hold one
// subject across all four lines (lines 1-3, 2-4 and 1-4 are as close as
// neighbours) while line 3 turns (起承转合): lines 2 and 3 are the least
// alike pair. So the turning line keeps only Weights::turn of the term: the
// third of a quatrain, the fifth and sixth (颈联) of an eight-line poem.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <new>

#include "poemd/compose/poem.h"
#include "poemd/compose/terms/term.h"
#include "poemd/compose/terms/weights.h"
#include "poemd/index/subjects.h"

namespace miravel::poemd {

// Whether line i of a poem of `lines` lines is where the poem turns.
inline bool IsTurn(size_t i, size_t lines) {
  return (lines == 4 && i == 2) || (lines == 8 && (i == 4 || i == 5));
}

class OneSubjectTerm final : public PoemTermOf<OneSubjectTerm> {
 public:
  // `subjects` must outlive the term; without a subject the centre is the
  // lines' alone.
  OneSubjectTerm(const Weights& weights, const SubjectModel& subjects, SubjectId subject)
      : weights_(weights), subjects_(subjects), subject_(subject) {}
  std::string_view Name() const override { return "one subject"; }
  size_t StateBytes(size_t) const override { return sizeof(Centre); }
  void Start(std::byte* state, size_t lines) const override {
    Centre& centre = *new (state) Centre{};
    centre.lines = static_cast<uint32_t>(lines);
    if (subject_ == kNoSubject) return;
    const auto subject = subjects_.Centre(subject_);
    std::copy(subject.begin(), subject.end(), centre.sum.begin());
    centre.counted = 1;
    centre.Normalise();
  }
  Cost WeighOne(size_t i, const Candidate& c, const std::byte* state) const {
    const Centre& centre = *reinterpret_cast<const Centre*>(state);
    if (centre.counted == 0) return {};
    const float closeness = SubjectModel::Closeness(c.subject(), centre.unit);
    const float weight = weights_.one_subject * (IsTurn(i, centre.lines) ? weights_.turn : 1.0f);
    return {0, weight * closeness};
  }
  void Advance(size_t, const Candidate& c, std::byte* state) const {
    Centre& centre = *reinterpret_cast<Centre*>(state);
    for (int k = 0; k < kSubjectDims; ++k) centre.sum[k] += c.subject()[k];
    ++centre.counted;
    centre.Normalise();
  }

 private:
  struct Centre {
    SubjectVector sum{};   // the subject's centre and the lines' poems' vectors
    SubjectVector unit{};  // `sum` of length 1
    uint32_t counted = 0;
    uint32_t lines = 0;  // in the poem

    void Normalise() {
      float norm = 0;
      for (const float x : sum) norm += x * x;
      const float scale = norm > 0 ? 1.0f / std::sqrt(norm) : 0.0f;
      for (int k = 0; k < kSubjectDims; ++k) unit[k] = sum[k] * scale;
    }
  };

  const Weights& weights_;
  const SubjectModel& subjects_;
  SubjectId subject_;
};

}  // namespace miravel::poemd
