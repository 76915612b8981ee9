// Pair term "turn": where the poem turns (起承转合: the third line of a
// quatrain, the fifth and sixth of an eight-line poem), the line is worth
// more the less it speaks of what the line before it speaks of, by
// Weights::turn_apart times their closeness (one_subject_term.h's
// SpokenOf). Real quatrains hold one subject throughout, yet their lines 2
// and 3 are the least alike pair; a poem whose every line sits close to its
// subject and to its neighbour reads as one scene said four times.
// Weights::turn_apart, 1.3, set with the one-subject term's weights (the
// figures are in its header): lines 2-3 of five-character head poems .073
// close, real quatrains' .055.
#pragma once

#include "poemd/compose/terms/one_subject_term.h"
#include "poemd/compose/terms/term.h"
#include "poemd/compose/terms/weights.h"

namespace miravel::poemd {

class TurnTerm final : public PairTermOf<TurnTerm> {
 public:
  explicit TurnTerm(const Weights& weights) : weights_(weights) {}
  std::string_view Name() const override { return "turn"; }
  Cost WeighOne(const PairView& pair) const {
    if (!IsTurn(pair.i, pair.lines) || weights_.turn_apart == 0) return {};
    const float w = weights_.line_words;
    const float closeness =
        SubjectModel::Closeness(SpokenOf(pair.previous.subject(), pair.previous.words(), w),
                                SpokenOf(pair.next.subject(), pair.next.words(), w));
    return {0, -weights_.turn_apart * closeness};
  }

 private:
  const Weights& weights_;
};

}  // namespace miravel::poemd
