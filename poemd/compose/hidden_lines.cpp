#include "poemd/compose/hidden_lines.h"

#include <algorithm>

namespace miravel::poemd {

HiddenLines::HiddenLines(const CorpusIndex& index, const PoemOrder& order,
                         const ComposeOptions& options)
    : index_(index), order_(order), options_(options) {
  sorted_.assign(order.characters.begin(), order.characters.end());
  std::sort(sorted_.begin(), sorted_.end());
  for (size_t i = 0; i < order.characters.size(); ++i) positions_.push_back(order.PositionAt(i));
}

bool HiddenLines::IsHidden(char16_t c) const {
  return std::binary_search(sorted_.begin(), sorted_.end(), c);
}

size_t HiddenLines::TimesHidden(char16_t c) const {
  const auto [from, to] = std::equal_range(sorted_.begin(), sorted_.end(), c);
  return static_cast<size_t>(to - from);
}

bool HiddenLines::Refused(size_t i, uint32_t line) const {
  if (i >= options_.refused.size()) return false;
  const auto& refused = options_.refused[i];
  return std::find(refused.begin(), refused.end(), line) != refused.end();
}

std::optional<KeptLine> HiddenLines::KeptAt(size_t i) const {
  if (i >= options_.kept.size() || !options_.kept[i]) return std::nullopt;
  const KeptLine kept = *options_.kept[i];
  if (kept.line >= index_.LineCount(Length())) return std::nullopt;
  const bool holds = index_.Text(Length(), kept.line)[AtLine(i)] == HiddenAt(i);
  // A made line's donor lacks the character at its place (else it is no
  // made line). One may stand beside real lines: where the occasion or a
  // swap refused them all.
  if (kept.made == holds) return std::nullopt;
  return kept;
}

}  // namespace miravel::poemd
