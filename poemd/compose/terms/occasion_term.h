// Line term "occasion": what the poem is for (occasion.h). A happy
// occasion refuses a line of ill omen as the first rule (kIllOmenPenalty:
// a neutral line with the same character, place, tone and rhyme always wins
// over it); every occasion prefers lines in keeping with it (their moods'
// shares, Weights::occasion_keeping, 0.15) and prefers even more to avoid
// lines out of keeping (Weights::occasion_avoiding, 0.3). With them, and the
// mood limits of occasion.cpp, wish poems holding a line of ill omen by the
// measure's fixed word list fell from 14.0/18.2% (five/seven characters) to
// 1.1/0.6%.
#pragma once

#include "poemd/compose/occasion.h"
#include "poemd/compose/terms/term.h"
#include "poemd/compose/terms/weights.h"

namespace miravel::poemd {

class OccasionTerm final : public LineTerm {
 public:
  OccasionTerm(const Weights& weights, Occasion occasion)
      : weights_(weights), occasion_(occasion) {}
  std::string_view Name() const override { return "occasion"; }
  LineStage Stage() const override { return LineStage::kFound; }
  Cost Weigh(const LineView& line) const override {
    const OccasionFit fit = FitOf(occasion_, *line.traits, line.text, line.at);
    return {fit.refused ? int64_t{kIllOmenPenalty} : 0,
            weights_.occasion_keeping * fit.keeping - weights_.occasion_avoiding * fit.avoiding};
  }
  bool Refuses(const LineView& line) const override {
    return FitOf(occasion_, *line.traits, line.text, line.at).refused;
  }

 private:
  const Weights& weights_;
  Occasion occasion_;
};

}  // namespace miravel::poemd
