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
#include "poemd/compose/subject_choice.h"
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
  for (const MoodClass mood : ClassesOf(occasion)) images += index.CharacteristicCharacters(mood);
  if (!images.empty()) {
    const LineVector of_images = association.Following(association.Vector(images));
    for (int d = 0; d < kCohesionDims; ++d) theme[d] += of_images[d];
  }
  return theme;
}

}  // namespace

namespace {

// The subjects whose lines are read after `subject`'s: the other subjects
// of the occasion, then those nearest it; kNearestSubjects in all.
std::vector<SubjectId> NearSubjects(const CorpusIndex& index, Occasion occasion,
                                    SubjectId subject) {
  if (subject == kNoSubject) return {};
  const SubjectModel& subjects = index.Subjects();
  std::vector<SubjectId> near;
  const auto add = [&](SubjectId other) {
    if (other != subject && near.size() < kNearestSubjects &&
        std::find(near.begin(), near.end(), other) == near.end()) {
      near.push_back(other);
    }
  };
  for (const MoodClass c : ClassesOf(occasion)) {
    for (const SubjectId other : subjects.SubjectsOf(c)) add(other);
  }
  for (const SubjectId other : subjects.Nearest(subject)) add(other);
  return near;
}

// The poem composed under one subject (kNoSubject: under none), and its
// search's result, to weigh against the poems of other subjects.
struct Composed {
  Poem poem;
  SearchResult result;
};

Composed ComposeUnder(const HiddenLines& hidden, Occasion occasion, SubjectId subject,
                      uint64_t seed) {
  const CorpusIndex& index = hidden.Index();
  const PoemOrder& order = hidden.Order();
  const ComposeOptions& options = hidden.Options();
  PoemRandom random(seed);
  const LineVector theme = ThemeOf(index, order, occasion);
  const std::vector<SubjectId> near = NearSubjects(index, occasion, subject);
  const ScoringTerms terms({.weights = options.weights,
                            .association = index.Associations(),
                            .parallel = index.Parallelism(),
                            .occasion = occasion,
                            .theme = theme,
                            .random = random,
                            .first_line_rhymes = order.first_line_rhymes,
                            .index = index,
                            .length = order.length,
                            .subject = subject,
                            .near_subjects = near});
  const CorpusScan scan(hidden, terms, random, subject, near);
  FormChoice choice = scan.Choice();
  choice.tie = random.Below(2) == 0 ? Opening::kLevel : Opening::kOblique;
  choice.draw = random.Next();

  const CandidateMaker maker(hidden, terms);
  LineShortlist shortlist(hidden, scan, terms, maker, random);
  const SearchShape shape{options.sizes.beam, options.sizes.middle_beam};
  Composed composed;
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
    composed.poem.rhyme = form.rhyme;
    composed.poem.opening = form.opening;
  }
  for (size_t i = 0; i < best_lists.size(); ++i) {
    const Candidate& c = best_lists[i][best->picks[i]];
    composed.poem.lines.push_back({c.text, c.line, c.made, index.LineCount(order.length) > 0});
  }
  composed.poem.shares = terms.Explain(best_lists, best->picks);
  composed.result = std::move(*best);
  return composed;
}

// Each subject's own draw of chance, apart from the others', so that one
// subject's poem is the same whichever others are tried beside it.
uint64_t SeedUnder(uint64_t seed, size_t nth) {
  return nth == 0 ? seed : seed ^ (0x9E3779B97F4A7C15ull * nth);
}

}  // namespace

Poem ComposePoem(const CorpusIndex& index, const PoemOrder& order, const ComposeOptions& options) {
  const Occasion occasion = Resolve(order.occasion, order.characters, order.theme);
  if (order.characters.empty()) {
    Poem poem;
    poem.occasion = occasion;
    poem.book = order.book;
    return poem;
  }
  const HiddenLines hidden(index, order, options);
  const std::vector<WeighedSubject> subjects = ChooseSubjects(
      hidden, occasion, options.weights, options.sizes.subjects + options.sizes.subjects_offered);
  std::vector<WeighedSubject> tried(
      subjects.begin(), subjects.begin() + std::min(subjects.size(), options.sizes.subjects));
  if (tried.empty()) tried.push_back({kNoSubject, 0});
  // The best poem: the fewest rules broken, then the best score with how
  // well its subject fits what was asked (a wish's own subjects first).
  std::optional<Composed> best;
  for (size_t k = 0; k < tried.size(); ++k) {
    Composed composed =
        ComposeUnder(hidden, occasion, tried[k].subject, SeedUnder(options.seed, k));
    composed.poem.subject = tried[k].subject;
    composed.result.score += tried[k].fit;
    if (!best || composed.result.BetterThan(best->result)) best = std::move(composed);
  }
  Poem poem = std::move(best->poem);
  poem.occasion = occasion;
  poem.book = order.book;
  for (const WeighedSubject& other : subjects) {
    if (other.subject != poem.subject) poem.other_subjects.push_back(other.subject);
  }
  return poem;
}

}  // namespace miravel::poemd
