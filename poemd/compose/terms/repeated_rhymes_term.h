// Poem term "重韵": a rhyme character used by an earlier rhyming line costs
// kRepeatedRhymePenalty, a rule that outranks every rule but a made line
// (line_rules.h): with four forms tried, a rhyme with no fresh rhyme
// character for a line gives way to another rhyme. 重韵 went from 0.3-2.0%
// of poems to none in every mode and book.
#pragma once

#include <algorithm>

#include "poemd/compose/terms/term.h"
#include "poemd/verse/tonal_pattern.h"

namespace miravel::poemd {

class RepeatedRhymesTerm final : public PoemTermOf<RepeatedRhymesTerm> {
 public:
  explicit RepeatedRhymesTerm(bool first_line_rhymes) : first_line_rhymes_(first_line_rhymes) {}
  std::string_view Name() const override { return "重韵"; }
  // The count, then the rhyme characters of the rhyming lines so far.
  size_t StateBytes(size_t lines) const override {
    return sizeof(uint32_t) + sizeof(char16_t) * lines;
  }
  void Start(std::byte* state, size_t) const override { *Count(state) = 0; }
  Cost WeighOne(size_t i, const Candidate& c, const std::byte* state) const {
    if (!IsRhymingLine(i, first_line_rhymes_)) return {};
    const char16_t* rhymes = Rhymes(state);
    const auto repeats = std::count(rhymes, rhymes + *Count(state), c.last);
    return {int64_t{kRepeatedRhymePenalty} * repeats, 0};
  }
  void Advance(size_t i, const Candidate& c, std::byte* state) const override {
    if (!IsRhymingLine(i, first_line_rhymes_)) return;
    Rhymes(state)[(*Count(state))++] = c.last;
  }

 private:
  static uint32_t* Count(std::byte* s) { return reinterpret_cast<uint32_t*>(s); }
  static const uint32_t* Count(const std::byte* s) { return reinterpret_cast<const uint32_t*>(s); }
  static char16_t* Rhymes(std::byte* s) {
    return reinterpret_cast<char16_t*>(s + sizeof(uint32_t));
  }
  static const char16_t* Rhymes(const std::byte* s) {
    return reinterpret_cast<const char16_t*>(s + sizeof(uint32_t));
  }

  bool first_line_rhymes_;
};

}  // namespace miravel::poemd
