// Pair term "cohesion": how well a line follows the one before it, by the
// association vectors learned from consecutive lines of real poems
// (association.h). Weights::cohesion, 2.0: at 3.0 coherence by held-out
// real poems' couplet statistics did not move (.81) while repeats and the
// discriminator's accuracy grew; lower lets the lines drift apart.
#pragma once

#include "poemd/compose/terms/term.h"
#include "poemd/compose/terms/weights.h"
#include "poemd/index/association.h"

namespace miravel::poemd {

class CohesionTerm final : public PairTermOf<CohesionTerm> {
 public:
  explicit CohesionTerm(const Weights& weights) : weights_(weights) {}
  std::string_view Name() const override { return "cohesion"; }
  Cost WeighOne(const PairView& pair) const {
    return {0, weights_.cohesion * Association::Dot(pair.previous.vector(), pair.next.following())};
  }

 private:
  const Weights& weights_;
};

}  // namespace miravel::poemd
