#include "poemd/compose/poem_composer.h"

#include <algorithm>
#include <optional>

#include "poemd/compose/candidate_maker.h"
#include "poemd/compose/corpus_scan.h"
#include "poemd/compose/couplet_proposer.h"
#include "poemd/compose/hidden_lines.h"
#include "poemd/compose/line_shortlist.h"
#include "poemd/compose/parallel_proposer.h"
#include "poemd/compose/poem_form.h"
#include "poemd/compose/poem_random.h"
#include "poemd/compose/poem_search.h"
#include "poemd/compose/terms/scoring_terms.h"

namespace miravel::poemd {
namespace {

// The words the poem keeps near, ready to follow a line
// (Association::Following): the theme (or, without one, the hidden
// characters) and the occasion's images, which count as much as the words.
LineVector ThemeOf(const CorpusIndex& index, const PoemOrder& order, Occasion occasion) {
  const Association& association = index.Associations();
  std::u16string words = order.theme;
  if (words.empty()) {
    words = order.characters;
    std::sort(words.begin(), words.end());
  }
  LineVector theme = association.Following(association.Vector(words));
  std::u16string images;
  for (const MoodClass mood : ImagesOf(occasion)) images += index.CharacteristicCharacters(mood);
  if (!images.empty()) {
    const LineVector of_images = association.Following(association.Vector(images));
    for (int d = 0; d < kCohesionDims; ++d) theme[d] += of_images[d];
  }
  return theme;
}

}  // namespace

Poem ComposePoem(const CorpusIndex& index, const PoemOrder& order, const ComposeOptions& options) {
  Poem poem;
  poem.occasion = Resolve(order.occasion, order.characters, order.theme);
  poem.book = order.book;
  if (order.characters.empty()) return poem;
  PoemRandom random(options.seed);
  const LineVector theme = ThemeOf(index, order, poem.occasion);
  const ScoringTerms terms({.weights = options.weights,
                            .association = index.Associations(),
                            .parallel = index.Parallelism(),
                            .occasion = poem.occasion,
                            .theme = theme,
                            .random = random,
                            .first_line_rhymes = order.first_line_rhymes});
  const HiddenLines hidden(index, order, options);
  const CorpusScan scan(hidden, terms, random);
  FormChoice choice = scan.Choice();
  choice.tie = random.Below(2) == 0 ? Opening::kLevel : Opening::kOblique;
  choice.draw = random.Next();

  const CandidateMaker maker(hidden, terms);
  LineShortlist shortlist(hidden, scan, terms, maker, random);
  const SearchShape shape{options.sizes.beam, options.sizes.middle_beam};
  std::optional<SearchResult> best;
  std::vector<std::vector<Candidate>> best_lists;
  for (const PoemForm& form : RankForms(choice, options.sizes.forms)) {
    const LineRules rules(order.length, order.first_line_rhymes, order.book, form.rhyme,
                          form.opening);
    const FormRules form_rules{rules, form.opening};
    std::vector<std::vector<Candidate>> lists = shortlist.Lists(form_rules);
    ProposeCouplets(lists, form_rules, hidden, terms, maker, random);
    ProposeParallelAnswers(lists, form_rules, hidden, scan, terms, maker);
    SearchResult result = SearchPoem(lists, shape, terms);
    if (best && !result.BetterThan(*best)) continue;
    best = std::move(result);
    best_lists = std::move(lists);
    poem.rhyme = form.rhyme;
    poem.opening = form.opening;
  }
  for (size_t i = 0; i < best_lists.size(); ++i) {
    const Candidate& c = best_lists[i][best->picks[i]];
    poem.lines.push_back({c.text, c.line, c.made, index.LineCount(order.length) > 0});
  }
  poem.shares = terms.Explain(best_lists, best->picks);
  return poem;
}

}  // namespace miravel::poemd
