// Pair term "middle couplet": a real middle couplet of a real 律诗, taken
// whole as a middle couplet of ours: parallel as its poet made it, which
// the parallel model can only approximate. Weights::middle_couplet, 1.0,
// on top of the couplet and parallel terms: enough to take one wherever the
// hidden characters and the rules allow, which is seldom (0.5 and 2 moved
// parallel middle couplets by a fraction of a point).
#pragma once

#include "poemd/compose/poem_form.h"
#include "poemd/compose/terms/term.h"
#include "poemd/compose/terms/weights.h"

namespace miravel::poemd {

class MiddleCoupletTerm final : public PairTermOf<MiddleCoupletTerm> {
 public:
  explicit MiddleCoupletTerm(const Weights& weights) : weights_(weights) {}
  std::string_view Name() const override { return "middle couplet"; }
  Cost WeighOne(const PairView& pair) const {
    const bool real = pair.i % 2 == 1 && IsMiddleCouplet(pair.i - 1, pair.lines) && pair.partners &&
                      pair.previous.middle_partner;
    return {0, real ? weights_.middle_couplet : 0.0f};
  }

 private:
  const Weights& weights_;
};

}  // namespace miravel::poemd
