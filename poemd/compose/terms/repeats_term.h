// Poem term "repeats": a character of one of the last few lines again (the
// hidden ones aside) costs Weights::repeat for each time. Poets repeat, but
// seldom and mostly on purpose: real quatrains put a character in two
// lines in 14.4% (five characters) and 19.3% (seven) of poems. At 0.08 the
// discriminator trained to tell ours from real poems weighed repeats as a
// sign of ours; 0.12 brought poems with a repeat from 15.7/15.7/23.7/26.0%
// to 10.7/13.0/21.3/21.3% (five head, five middle, seven head, seven
// middle). Since poems keep to one subject, their lines are drawn to the
// subject's words: 0.3 keeps poems with a repeat at 5.4/4.9/11.3/8.3%, where
// 0.12 let them rise above real quatrains'.
#pragma once

#include <algorithm>
#include <array>
#include <new>

#include "poemd/compose/terms/term.h"
#include "poemd/compose/terms/weights.h"

namespace miravel::poemd {

class RepeatsTerm final : public PoemTermOf<RepeatsTerm> {
 public:
  // Lines a repeat is counted within: a line and the seven before it, a
  // 律诗's whole length; further apart a reader no longer hears it.
  static constexpr size_t kSpan = 8;

  explicit RepeatsTerm(const Weights& weights) : weights_(weights) {}
  std::string_view Name() const override { return "repeats"; }
  size_t StateBytes(size_t) const override { return sizeof(Recent); }
  void Start(std::byte* state, size_t) const override { new (state) Recent{}; }
  Cost WeighOne(size_t, const Candidate& c, const std::byte* state) const {
    const Recent& recent = *Of(state);
    // No recent line holds a character whose bit none of them sets.
    const uint64_t shared = recent.signature & c.signature;
    if (shared == 0) return {};
    int repeats = 0;
    for (size_t k = 0; k < c.text.size(); ++k) {
      const char16_t ch = c.text[k];
      const uint64_t bit = SignatureBit(ch);
      if (static_cast<int>(k) == c.at || (shared & bit) == 0) continue;
      repeats += std::any_of(
          recent.lines.begin(), recent.lines.begin() + recent.count, [&](const Candidate* e) {
            return (e->signature & bit) != 0 && e->text.find(ch) != std::u16string::npos;
          });
    }
    return {0, -(weights_.repeat * static_cast<float>(repeats))};
  }
  void Advance(size_t, const Candidate& c, std::byte* state) const override {
    Recent& recent = *Of(state);
    if (recent.count == recent.lines.size()) {
      std::move(recent.lines.begin() + 1, recent.lines.end(), recent.lines.begin());
      --recent.count;
    }
    recent.lines[recent.count++] = &c;
    recent.signature = 0;
    for (size_t k = 0; k < recent.count; ++k) recent.signature |= recent.lines[k]->signature;
  }

 private:
  // The last kSpan - 1 lines, oldest first, and their signatures together.
  struct Recent {
    std::array<const Candidate*, kSpan - 1> lines{};
    size_t count = 0;
    uint64_t signature = 0;
  };
  static Recent* Of(std::byte* s) { return reinterpret_cast<Recent*>(s); }
  static const Recent* Of(const std::byte* s) { return reinterpret_cast<const Recent*>(s); }

  const Weights& weights_;
};

}  // namespace miravel::poemd
