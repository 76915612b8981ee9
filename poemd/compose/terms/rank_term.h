// Line term "rank": lines of better-ranked sources first (regulated Tang
// and Song shi, then other shi, then ci; drama only where nothing else
// serves). The weights (Weights::rank, by SourceRank) are small beside
// cohesion, so rank breaks near-ties: +0.15, +0.1, 0 for the three
// collections of verse; drama -1.0, a full unit of preference, so that a
// drama line stands only where its character has no other line (drama
// lines fell from 1.1-2.8% to at most 0.25% of lines).
#pragma once

#include "poemd/compose/terms/term.h"
#include "poemd/compose/terms/weights.h"

namespace miravel::poemd {

class RankTerm final : public LineTerm {
 public:
  explicit RankTerm(const Weights& weights) : weights_(weights) {}
  std::string_view Name() const override { return "rank"; }
  LineStage Stage() const override { return LineStage::kFound; }
  Cost Weigh(const LineView& line) const override {
    return {0, weights_.rank[static_cast<size_t>(line.traits->rank())]};
  }

 private:
  const Weights& weights_;
};

}  // namespace miravel::poemd
