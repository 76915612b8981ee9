// Pair term "cohesion": how well a line follows the one before it, by the
// association vectors learned from consecutive lines of real poems
// (association.h). Weights::cohesion, 1.0. Before poems had a subject it
// was 2.0 (at 3.0 coherence by held-out real poems' couplet statistics did
// not move while repeats and the discriminator's accuracy grew). With the
// subject terms holding the poem together, 2.0 chains neighbours: lines 2
// and 3 of five-character head poems were .093-.101 close where real
// quatrains' are .055 (measure's line pairs); 1.0 brings them to .073
// while the far pairs stay above real quatrains'. The price is the
// couplet statistics, which reward chains: .81-.96 before subjects, .35-.44
// now (2.0 gave .52).
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
