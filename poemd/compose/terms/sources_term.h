// Poem term "sources": a line of a source poem that gave an earlier line
// costs Weights::same_source, unless it follows that poem's line as the
// second line of a couplet (a real couplet is taken whole on purpose). Lines
// of one subject come from few poems, and a reader who knows the poem sees
// its stanza copied, not a new poem.
#pragma once

#include <algorithm>

#include "poemd/compose/terms/term.h"
#include "poemd/compose/terms/weights.h"

namespace miravel::poemd {

class SourcesTerm final : public PoemTermOf<SourcesTerm> {
 public:
  explicit SourcesTerm(const Weights& weights) : weights_(weights) {}
  std::string_view Name() const override { return "sources"; }
  // The count, then each earlier line's source poem.
  size_t StateBytes(size_t lines) const override { return sizeof(uint32_t) * (1 + lines); }
  void Start(std::byte* state, size_t) const override { Poems(state)[0] = 0; }
  Cost WeighOne(size_t i, const Candidate& c, const std::byte* state) const {
    const uint32_t* poems = Poems(state);
    const uint32_t count = poems[0];
    // The second line of a couplet may come from its first line's poem.
    const uint32_t before = i % 2 == 1 && count > 0 && poems[count] == c.poem ? count - 1 : count;
    const bool again = std::find(poems + 1, poems + 1 + before, c.poem) != poems + 1 + before;
    return {0, again ? -weights_.same_source : 0.0f};
  }
  void Advance(size_t, const Candidate& c, std::byte* state) const override {
    uint32_t* poems = Poems(state);
    poems[1 + poems[0]++] = c.poem;
  }

 private:
  static uint32_t* Poems(std::byte* s) { return reinterpret_cast<uint32_t*>(s); }
  static const uint32_t* Poems(const std::byte* s) { return reinterpret_cast<const uint32_t*>(s); }

  const Weights& weights_;
};

}  // namespace miravel::poemd
