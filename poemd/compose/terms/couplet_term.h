// Pair term "couplet": the two lines of a real couplet of a regulated poem
// (its lines 1-2, 3-4, ...), found for two consecutive hidden characters
// (couplet_proposer.h), taken together. Weights::couplet, 0.1: the gap
// between random and real consecutive lines, so that a real couplet wins
// where its cohesion is near its rivals' and never against a clear
// better pair. Random requests seldom have a real couplet to take: 0.05
// and 0.2 changed nothing there.
#pragma once

#include "poemd/compose/terms/term.h"
#include "poemd/compose/terms/weights.h"

namespace miravel::poemd {

class CoupletTerm final : public PairTermOf<CoupletTerm> {
 public:
  explicit CoupletTerm(const Weights& weights) : weights_(weights) {}
  std::string_view Name() const override { return "couplet"; }
  Cost WeighOne(const PairView& pair) const {
    return {0, pair.i % 2 == 1 && pair.partners ? weights_.couplet : 0.0f};
  }

 private:
  const Weights& weights_;
};

}  // namespace miravel::poemd
