// Line term "rules": the rules of line_rules.h a line breaks under the form
// being tried (its rhyme and opening), as penalties in the order they give
// way. Penalties only: a rule is never traded for a preference.
#pragma once

#include "poemd/compose/terms/term.h"

namespace miravel::poemd {

class RulesTerm final : public LineTerm {
 public:
  std::string_view Name() const override { return "rules"; }
  LineStage Stage() const override { return LineStage::kForm; }
  Cost Weigh(const LineView& line) const override {
    // A found line's template penalties were read once for both openings:
    // no rhyme changes them.
    const int template_penalty = line.template_penalties != nullptr
                                     ? line.template_penalties[static_cast<int>(line.opening)]
                                     : line.rules->TemplatePenalty(line.i, *line.reading);
    return {line.rules->EndingPenalty(line.i, *line.reading) + template_penalty, 0};
  }
};

}  // namespace miravel::poemd
