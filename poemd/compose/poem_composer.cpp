#include "poemd/compose/poem_composer.h"

#include "poemd/compose/candidate_lines.h"
#include "poemd/compose/poem_form.h"
#include "poemd/compose/poem_random.h"
#include "poemd/compose/poem_search.h"

namespace miravel::poemd {

Poem ComposePoem(const CorpusIndex& index, const PoemOrder& order, const ComposeOptions& options) {
  Poem poem;
  if (order.characters.empty()) return poem;
  PoemRandom random(options.seed);
  CandidateLines candidates(index, order, options, random);
  FormChoice choice = candidates.Choice();
  choice.tie = random.Below(2) == 0 ? Opening::kLevel : Opening::kOblique;
  choice.chance = random.Unit();
  const PoemForm form = ChooseForm(choice);
  const std::vector<std::vector<Candidate>> lists = candidates.Build(form);

  const SearchShape shape{order.length, order.first_line_rhymes};
  const std::vector<int> picks = SearchPoem(lists, shape, index.Associations());

  poem.book = order.book;
  poem.rhyme = form.rhyme;
  poem.opening = form.opening;
  for (size_t i = 0; i < lists.size(); ++i) {
    const Candidate& c = lists[i][picks[i]];
    poem.lines.push_back({c.text, c.line, c.made, index.LineCount(order.length) > 0});
  }
  return poem;
}

}  // namespace miravel::poemd
