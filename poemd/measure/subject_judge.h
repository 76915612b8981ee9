// An independent judge of what lines speak of, for the measuring program:
// character vectors learned when it runs, from which characters share a
// poem of the judge's quarter of the corpus (indexing/corpus_split.h),
// which neither the index nor its subject model (index/subjects.h) saw.
//
// It differs from the index's model by design, so that it judges it rather
// than repeats it: whole poems, not windows of eight lines; only the
// characters inside lines count (never a line's last, where rhymes stand);
// positive pointwise mutual information with the contexts' counts smoothed
// (raised to 0.75), not factorised: a character's vector is its row of that
// matrix over the `characters` characters in the most poems; no list of
// function words (they meet every character alike, so their rows are
// near zero). The register is taken out: the rows' mean, and the direction
// in which a ci's words differ from a shi's. A line's vector is the sum of
// its characters' rows, each weighed by how few poems hold it.
//
// Two lines' closeness is the cosine of their vectors, each line read
// without the characters both hold: a word repeated says nothing of whether
// their subjects agree. Deterministic for a given input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace miravel::poemd {

class SubjectJudge {
 public:
  explicit SubjectJudge(size_t characters = 3000);
  ~SubjectJudge();
  SubjectJudge(SubjectJudge&&) noexcept;
  SubjectJudge& operator=(SubjectJudge&&) noexcept;

  // A poem of the judge's quarter: its lines (simplified; pieces that are
  // no line left empty), and whether it is a ci.
  void AddPoem(const std::vector<std::u16string>& lines, bool ci);
  // Learns from what was added; call once, before Closeness.
  void Learn();

  // nullopt when either line, without the characters both hold, keeps no
  // character the judge knows.
  std::optional<double> Closeness(std::u16string_view a, std::u16string_view b) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace miravel::poemd
