// Judges how well consecutive lines belong together, from counts the
// composer never saw: over every pair of consecutive lines of one length in
// the judge's poems, how often each character of the first line meets each
// character of the second. A pair of lines scores the mean, over all pairs
// of their characters, of log((n(a,b) + 1) / (E(a,b) + 1)), where n is the
// count and E what chance alone would give (n(a) n(b) / N): a pointwise
// mutual information that shrinks to 0 for pairs too rare to tell. A poem
// scores the mean over its consecutive lines.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

namespace miravel::poemd {

class CoherenceJudge {
 public:
  // The `characters` most frequent characters of the lines it is given are
  // counted; others are left out of every mean.
  explicit CoherenceJudge(size_t characters = 6000);
  ~CoherenceJudge();
  CoherenceJudge(CoherenceJudge&&) noexcept;
  CoherenceJudge& operator=(CoherenceJudge&&) noexcept;

  // Two phases: first every line (for the frequencies), then the pairs.
  void SeeLine(std::u16string_view line);
  void SeePair(std::u16string_view first, std::u16string_view second);

  double Pair(std::u16string_view first, std::u16string_view second) const;
  double Poem(const std::vector<std::u16string>& lines) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace miravel::poemd
