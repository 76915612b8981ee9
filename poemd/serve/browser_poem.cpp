#include "poemd/serve/browser_poem.h"

#include <optional>

namespace miravel::poemd {

BrowserPoem ComposeForBrowser(const CorpusIndex& index, const BrowserRequest& request,
                              uint64_t fresh_seed) {
  const PoemOrder& order = *request.order;
  BrowserPoem result;
  result.seed = request.seed.value_or(fresh_seed);
  const ComposeOptions fresh{.seed = result.seed};
  const bool swapping = request.swap && *request.swap < order.characters.size();
  if (request.lines.empty() && !swapping) {
    result.poem = ComposePoem(index, order, fresh);
    return result;
  }
  ComposeOptions kept = fresh;
  kept.kept = request.lines;
  // The poem the seed gives: its lines when the address names none, and
  // its template and rhyme for a swap.
  std::optional<Poem> seeded;
  if (kept.kept.empty() || swapping) seeded = ComposePoem(index, order, fresh);
  if (kept.kept.empty()) {
    for (const ComposedLine& line : seeded->lines) {
      kept.kept.push_back(KeptLine{line.corpus_line, line.made});
    }
  }
  if (swapping) {
    kept.rhyme = seeded->rhyme;
    kept.opening = seeded->opening;
    const size_t j = *request.swap;
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
