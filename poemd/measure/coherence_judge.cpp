#include "poemd/measure/coherence_judge.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "poemd/index/association.h"
#include "poemd/verse/character_frequency.h"

namespace miravel::poemd {

struct CoherenceJudge::Impl {
  size_t size = 0;
  std::vector<uint64_t> frequency = std::vector<uint64_t>(65536, 0);
  std::vector<int32_t> row;  // 65536 entries: a character's row, or -1
  std::vector<float> counts;
  std::vector<double> marginal;
  double total = 0;

  void Freeze() {
    if (!row.empty()) return;
    const std::vector<char16_t> by_frequency = ByFrequency(frequency);
    size = std::min(size, by_frequency.size());
    row.assign(65536, -1);
    for (size_t k = 0; k < size; ++k) row[by_frequency[k]] = static_cast<int32_t>(k);
    counts.assign(size * size, 0.0f);
    marginal.assign(size, 0.0);
  }

  // Calls visit(row of a, row of b) for each pair of counted characters.
  template <typename Visit>
  void ForEachPair(std::u16string_view first, std::u16string_view second, Visit visit) const {
    for (char16_t a : first) {
      const int32_t ra = row[a];
      if (ra < 0) continue;
      for (char16_t b : second) {
        if (const int32_t rb = row[b]; rb >= 0) {
          visit(static_cast<size_t>(ra), static_cast<size_t>(rb));
        }
      }
    }
  }
};

CoherenceJudge::CoherenceJudge(size_t characters) : impl_(std::make_unique<Impl>()) {
  impl_->size = characters;
}

CoherenceJudge::~CoherenceJudge() = default;
CoherenceJudge::CoherenceJudge(CoherenceJudge&&) noexcept = default;
CoherenceJudge& CoherenceJudge::operator=(CoherenceJudge&&) noexcept = default;

void CoherenceJudge::SeeLine(std::u16string_view line) {
  for (char16_t c : line) ++impl_->frequency[c];
}

void CoherenceJudge::SeePair(std::u16string_view first, std::u16string_view second) {
  Impl& m = *impl_;
  m.Freeze();
  m.ForEachPair(first, second, [&m](size_t a, size_t b) {
    m.counts[a * m.size + b] += 1.0f;
    m.counts[b * m.size + a] += 1.0f;
    m.marginal[a] += 1.0;
    m.marginal[b] += 1.0;
    m.total += 2.0;
  });
}

double CoherenceJudge::Pair(std::u16string_view first, std::u16string_view second) const {
  const Impl& m = *impl_;
  if (m.row.empty() || m.total <= 0) return 0;
  double sum = 0;
  int pairs = 0;
  m.ForEachPair(first, second, [&](size_t a, size_t b) {
    sum += SmoothedPmi(m.counts[a * m.size + b], m.marginal[a], m.marginal[b], m.total);
    ++pairs;
  });
  return pairs == 0 ? 0 : sum / pairs;
}

double CoherenceJudge::Poem(const std::vector<std::u16string>& lines) const {
  if (lines.size() < 2) return 0;
  double sum = 0;
  for (size_t i = 0; i + 1 < lines.size(); ++i) sum += Pair(lines[i], lines[i + 1]);
  return sum / static_cast<double>(lines.size() - 1);
}

}  // namespace miravel::poemd
