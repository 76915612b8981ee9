// Line term "chance": a little noise (Weights::chance, 0.05, uniform) so
// that one request gives different poems for different seeds, among lines
// the other terms rate alike. Half a unit of the cohesion between random
// and real lines: enough to vary near-ties, never enough to choose a line
// that goes worse with the poem by a real margin: at 0.025 and at 0.1
// coherence was .746 and .742 against .748.
//
// It draws from the composition's chance each time it weighs a line, so
// the same seed always gives the same poem only if lines are weighed in
// the same order.
#pragma once

#include "poemd/compose/poem_random.h"
#include "poemd/compose/terms/term.h"
#include "poemd/compose/terms/weights.h"

namespace miravel::poemd {

class ChanceTerm final : public LineTerm {
 public:
  // `random` must outlive the term.
  ChanceTerm(const Weights& weights, PoemRandom& random) : weights_(weights), random_(random) {}
  std::string_view Name() const override { return "chance"; }
  LineStage Stage() const override { return LineStage::kFound; }
  Cost Weigh(const LineView&) const override { return {0, weights_.chance * random_.Unit()}; }

 private:
  const Weights& weights_;
  PoemRandom& random_;
};

}  // namespace miravel::poemd
