// Line term "neighbours": how well a line goes with the likeliest lines
// either side, before the search weighs real pairs. It decides which
// shortlisted lines the search weighs at all (line_shortlist.h) and stays
// in their prior: a line that fits what its neighbours can offer is worth
// more than one that fits a single lucky neighbour. Weights::neighbours,
// 1.0: half the pair term cohesion's weight, as it counts an estimate
// against both neighbours at once. It pulls lines towards the characters
// their neighbours hold: at 0.5 poems with a repeated character fell from
// 16.8% to 14.2% and at 2 rose to 19.6%, coherence .750 and .740 against
// .748.
#pragma once

#include "poemd/compose/terms/term.h"
#include "poemd/compose/terms/weights.h"
#include "poemd/index/association.h"

namespace miravel::poemd {

class NeighboursTerm final : public LineTerm {
 public:
  explicit NeighboursTerm(const Weights& weights) : weights_(weights) {}
  std::string_view Name() const override { return "neighbours"; }
  LineStage Stage() const override { return LineStage::kNeighbours; }
  Cost Weigh(const LineView& line) const override {
    return {0, weights_.neighbours * Association::Dot(*line.vector, *line.around)};
  }

 private:
  const Weights& weights_;
};

}  // namespace miravel::poemd
