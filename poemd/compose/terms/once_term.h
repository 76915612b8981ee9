// Poem term "once": no corpus line is taken twice in one poem (a made
// line's donor may give twice: its hidden character differs). A veto, not a
// cost: where every candidate of a line was taken already, the search takes
// one again at the cost of a made line rather than leave the line empty.
#pragma once

#include <algorithm>

#include "poemd/compose/terms/term.h"

namespace miravel::poemd {

class OnceTerm final : public PoemTermOf<OnceTerm> {
 public:
  std::string_view Name() const override { return "once"; }
  // The count, then the corpus lines taken.
  size_t StateBytes(size_t lines) const override { return sizeof(uint32_t) * (1 + lines); }
  void Start(std::byte* state, size_t) const override { Taken(state)[0] = 0; }
  Cost WeighOne(size_t, const Candidate& c, const std::byte* state) const {
    if (c.made) return {};
    const auto* taken = Taken(state);
    const uint32_t* end = taken + 1 + taken[0];
    return {0, 0, std::find(taken + 1, end, c.line) != end};
  }
  void Advance(size_t, const Candidate& c, std::byte* state) const override {
    if (c.made) return;
    uint32_t* taken = Taken(state);
    taken[1 + taken[0]++] = c.line;
  }

 private:
  static uint32_t* Taken(std::byte* state) { return reinterpret_cast<uint32_t*>(state); }
  static const uint32_t* Taken(const std::byte* state) {
    return reinterpret_cast<const uint32_t*>(state);
  }
};

}  // namespace miravel::poemd
