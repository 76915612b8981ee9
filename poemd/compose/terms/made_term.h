// Line term "made": a made line (a donor with the hidden character put in)
// only where no corpus line holds the character at its place. Its penalty
// outranks every rule but a line of ill omen (line_rules.h), so a made line
// stands only where the corpus or the occasion leaves nothing else.
#pragma once

#include "poemd/compose/terms/term.h"

namespace miravel::poemd {

class MadeTerm final : public LineTerm {
 public:
  std::string_view Name() const override { return "made"; }
  LineStage Stage() const override { return LineStage::kFound; }
  Cost Weigh(const LineView& line) const override {
    return {line.made ? int64_t{kMadePenalty} : 0, 0};
  }
};

}  // namespace miravel::poemd
