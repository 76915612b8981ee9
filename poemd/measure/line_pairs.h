// What the subject judge (subject_judge.h) says of a quatrain's lines, pair
// by pair: 1-2, 2-3, 3-4 side by side, and 1-3, 2-4, 1-4 apart; and how
// often a character stands in two of its lines, or in three. Real
// quatrains hold one subject across all four lines, so that their far
// pairs are as close as their near ones.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "poemd/measure/subject_judge.h"

namespace miravel::poemd {

inline constexpr int kLinePairs = 6;
// The pairs, by line (0-based): near ones first, then far ones.
inline constexpr std::array<std::pair<int, int>, kLinePairs> kPairs = {
    {{0, 1}, {1, 2}, {2, 3}, {0, 2}, {1, 3}, {0, 3}}};
inline constexpr int kFirstFarPair = 3;

class LinePairTally {
 public:
  // A poem of four lines. `hidden_at`: each line's hidden character's
  // position, which a repeat does not count (the asker chose it); -1 for
  // none. A pair the judge cannot read is left out of its mean.
  void Add(const SubjectJudge& judge, const std::vector<std::u16string>& lines, int hidden_at);

  size_t Poems() const { return poems_; }
  // The mean closeness of pair `pair` (an index into kPairs); 0 when none.
  double Mean(int pair) const;
  // The share of poems with a character in at least two lines, and three.
  double InTwoLines() const { return Share(in_two_); }
  double InThreeLines() const { return Share(in_three_); }

 private:
  double Share(size_t n) const { return poems_ == 0 ? 0 : static_cast<double>(n) / poems_; }

  std::array<double, kLinePairs> sums_{};
  std::array<size_t, kLinePairs> counts_{};
  size_t poems_ = 0, in_two_ = 0, in_three_ = 0;
};

// `value` on a scale from `random` (0) to `real` (1); 0 when they agree.
double OnRealScale(double value, double random, double real);

}  // namespace miravel::poemd
