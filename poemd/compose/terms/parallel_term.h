// Pair term "parallel": the middle couplets of a poem of eight lines or
// more (a 律诗's lines 3-4 and 5-6; an 排律's every couplet but the first
// and the last) run in parallel (对仗), by the parallel model's log-odds
// (parallel_model.h) above even. Weights::parallel, 0.5: at 1.0 the
// coherence of eight-line poems fell another .04-.07; at 5 middle
// couplets ran in parallel only 54-58% of the time against 49-54%: the
// supply of parallel lines that keep the rules is the limit, not the
// weight.
#pragma once

#include "poemd/compose/poem_form.h"
#include "poemd/compose/terms/term.h"
#include "poemd/compose/terms/weights.h"
#include "poemd/index/parallel_model.h"

namespace miravel::poemd {

class ParallelTerm final : public PairTermOf<ParallelTerm> {
 public:
  // `model` must outlive the term.
  ParallelTerm(const Weights& weights, const ParallelModel& model)
      : weights_(weights), model_(model) {}
  std::string_view Name() const override { return "parallel"; }
  Cost WeighOne(const PairView& pair) const {
    if (pair.i % 2 == 0 || !IsMiddleCouplet(pair.i - 1, pair.lines)) return {};
    return {0, weights_.parallel * model_.Score(pair.previous.text, pair.next.text)};
  }

 private:
  const Weights& weights_;
  const ParallelModel& model_;
};

}  // namespace miravel::poemd
