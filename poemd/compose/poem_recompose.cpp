#include "poemd/compose/poem_recompose.h"

namespace miravel::poemd {

Recomposed Recompose(const CorpusIndex& index, const PoemOrder& order, const Recomposing& asked) {
  const ComposeOptions fresh{.seed = asked.seed, .subject = asked.subject};
  const bool swapping = asked.swap && *asked.swap < order.characters.size();
  Recomposed result;
  if (asked.lines.empty() && !swapping) {
    result.poem = ComposePoem(index, order, fresh);
    result.seeded_alone = true;
    return result;
  }
  ComposeOptions kept = fresh;
  kept.kept = asked.lines;
  if (swapping) {
    // The poem the seed gives: its lines when the address names none, and
    // its template and rhyme.
    result.seeded = ComposePoem(index, order, fresh);
    if (kept.kept.empty()) {
      for (const ComposedLine& line : result.seeded->lines) {
        kept.kept.push_back(KeptLine{line.corpus_line, line.made});
      }
    }
    kept.rhyme = result.seeded->rhyme;
    kept.opening = result.seeded->opening;
    const size_t j = *asked.swap;
    kept.refused.resize(order.characters.size());
    if (kept.kept[j] && !kept.kept[j]->made) kept.refused[j].push_back(kept.kept[j]->line);
    kept.kept[j].reset();
    // Each swap of the same poem draws anew, yet the address decides it.
    for (const std::optional<KeptLine>& line : kept.kept) {
      kept.seed = kept.seed * 0x100000001B3ull + (line ? line->line + 1 : 0);
    }
  }
  result.poem = ComposePoem(index, order, kept);
  return result;
}

}  // namespace miravel::poemd
