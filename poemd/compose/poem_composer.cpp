#include "poemd/compose/poem_composer.h"

#include <optional>

#include "poemd/compose/candidate_lines.h"
#include "poemd/compose/poem_form.h"
#include "poemd/compose/poem_random.h"
#include "poemd/compose/poem_search.h"

namespace miravel::poemd {
namespace {

// How many of the best forms are composed in, for the best poem of them.
constexpr size_t kFormsTried = 4;

}  // namespace

Poem ComposePoem(const CorpusIndex& index, const PoemOrder& order, const ComposeOptions& options) {
  Poem poem;
  poem.occasion = Resolve(order.occasion, order.characters, order.theme);
  if (order.characters.empty()) return poem;
  PoemRandom random(options.seed);
  CandidateLines candidates(index, order, options, random);
  FormChoice choice = candidates.Choice();
  choice.tie = random.Below(2) == 0 ? Opening::kLevel : Opening::kOblique;
  choice.draw = random.Next();

  const SearchShape shape{order.length, order.first_line_rhymes};
  std::optional<SearchResult> best;
  std::vector<std::vector<Candidate>> best_lists;
  for (const PoemForm& form : RankForms(choice, kFormsTried)) {
    std::vector<std::vector<Candidate>> lists = candidates.Build(form);
    SearchResult result = SearchPoem(lists, shape, index.Associations(), index.Parallelism());
    if (best && !result.BetterThan(*best)) continue;
    best = std::move(result);
    best_lists = std::move(lists);
    poem.rhyme = form.rhyme;
    poem.opening = form.opening;
  }
  poem.book = order.book;
  for (size_t i = 0; i < best_lists.size(); ++i) {
    const Candidate& c = best_lists[i][best->picks[i]];
    poem.lines.push_back({c.text, c.line, c.made, index.LineCount(order.length) > 0});
  }
  return poem;
}

}  // namespace miravel::poemd
