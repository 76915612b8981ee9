// Line term "theme": lines near the poem's theme, the words the reader gave
// (or, without them, the hidden characters) and the images of its occasion
// (occasion.h), by their cohesion with the theme's vector. Weights::theme,
// 0.25: a quarter of a pair's cohesion weight, since the theme is a few
// words against a whole line. On random requests, whose theme is their own
// characters, 0.125 and 0.5 moved coherence by at most .011 (.750, .737).
#pragma once

#include "poemd/compose/terms/term.h"
#include "poemd/compose/terms/weights.h"
#include "poemd/index/association.h"

namespace miravel::poemd {

class ThemeTerm final : public LineTerm {
 public:
  // `theme`: Association::Following of the theme's vector; it must outlive
  // the term.
  ThemeTerm(const Weights& weights, const LineVector& theme) : weights_(weights), theme_(theme) {}
  std::string_view Name() const override { return "theme"; }
  LineStage Stage() const override { return LineStage::kVectors; }
  Cost Weigh(const LineView& line) const override {
    return {0, weights_.theme * Association::Dot(*line.vector, theme_)};
  }

 private:
  const Weights& weights_;
  const LineVector& theme_;
};

}  // namespace miravel::poemd
