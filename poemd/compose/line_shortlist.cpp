#include "poemd/compose/line_shortlist.h"

#include <algorithm>

#include "poemd/compose/made_line_donors.h"

namespace miravel::poemd {
namespace {

template <typename T>
bool Better(const T& a, const T& b) {
  return a.penalty != b.penalty ? a.penalty < b.penalty : a.prior > b.prior;
}

}  // namespace

LineShortlist::LineShortlist(const HiddenLines& hidden, const CorpusScan& scan,
                             const ScoringTerms& terms, const CandidateMaker& maker,
                             PoemRandom& random)
    : hidden_(hidden),
      scan_(scan),
      terms_(terms),
      maker_(maker),
      random_(random),
      unrhymed_(hidden.Count()) {}

std::vector<std::vector<Candidate>> LineShortlist::Lists(const FormRules& form) {
  std::vector<std::vector<Candidate>> lists;
  for (size_t i = 0; i < hidden_.Count(); ++i) lists.push_back(Shortlist(i, form));
  NarrowByNeighbours(lists);
  return lists;
}

std::vector<Candidate> LineShortlist::Shortlist(size_t i, const FormRules& form) {
  if (form.rules.IsRhyming(i)) return ShortlistAnew(i, form);
  std::optional<std::vector<Candidate>>& kept = unrhymed_[i][static_cast<size_t>(form.opening)];
  if (!kept) kept = ShortlistAnew(i, form);
  return *kept;
}

std::vector<Candidate> LineShortlist::ShortlistAnew(size_t i, const FormRules& form) {
  if (const std::optional<KeptLine> kept = hidden_.KeptAt(i); kept && kept->made) {
    return {maker_.MadeAsIs(i, kept->line, 0)};
  }
  const std::vector<FoundLine>& found = scan_.Found(i);
  if (found.empty()) return MadeLines(i, form, hidden_, terms_, maker_, random_);
  struct Ranked {
    int penalty;
    float prior;
    uint32_t at;
  };
  std::vector<Ranked> ranked;
  ranked.reserve(found.size());
  bool any_fits = false;
  // One view, each found line put in turn where the form's terms read.
  LineView view = maker_.ViewOf(i, 0, found.front().traits, found.front().reading);
  view.rules = &form.rules;
  view.opening = form.opening;
  for (size_t k = 0; k < found.size(); ++k) {
    const FoundLine& line = found[k];
    any_fits = any_fits || !line.Refused();
    view.line = line.line;
    view.text = hidden_.Index().Text(hidden_.Length(), line.line);
    view.traits = &line.traits;
    view.reading = &line.reading;
    view.template_penalties = line.template_penalties;
    ranked.push_back({line.penalty + terms_.LinePenalty(LineStage::kForm, view), line.prior,
                      static_cast<uint32_t>(k)});
  }
  const size_t shortlisted = std::min(ranked.size(), hidden_.Options().sizes.shortlisted);
  std::nth_element(ranked.begin(), ranked.begin() + (shortlisted - 1), ranked.end(),
                   Better<Ranked>);
  std::vector<Candidate> out;
  out.reserve(shortlisted);
  for (size_t k = 0; k < shortlisted; ++k) {
    out.push_back(maker_.FromFound(i, found[ranked[k].at], form));
  }
  // A character hidden more often than the corpus has lines for it, or
  // only in lines a line term refuses.
  if (out.size() < hidden_.TimesHidden(hidden_.HiddenAt(i)) || !any_fits) {
    std::vector<Candidate> made = MadeLines(i, form, hidden_, terms_, maker_, random_);
    std::move(made.begin(), made.end(), std::back_inserter(out));
  }
  return out;
}

void LineShortlist::NarrowByNeighbours(std::vector<std::vector<Candidate>>& lists) const {
  const size_t n = lists.size();
  const size_t candidates = hidden_.Options().sizes.candidates;
  const Association& association = hidden_.Index().Associations();
  // Each list's order by the rules, as keys apart from the candidates: the
  // sorts read nothing else.
  struct Key {
    int penalty;
    float prior;
    uint32_t at;
  };
  std::vector<std::vector<Key>> orders(n);
  std::vector<LineVector> centre(n);
  for (size_t i = 0; i < n; ++i) {
    const std::vector<Candidate>& list = lists[i];
    std::vector<Key>& order = orders[i];
    order.resize(list.size());
    for (uint32_t k = 0; k < order.size(); ++k) order[k] = {list[k].penalty, list[k].prior, k};
    const size_t likeliest = std::min(order.size(), candidates);
    std::partial_sort(order.begin(), order.begin() + likeliest, order.end(), Better<Key>);
    size_t counted = 0;
    for (size_t k = 0; k < likeliest && order[k].penalty == order[0].penalty; ++k) {
      for (int d = 0; d < kCohesionDims; ++d) centre[i][d] += list[order[k].at].vector()[d];
      ++counted;
    }
    for (float& x : centre[i]) x /= static_cast<float>(std::max<size_t>(counted, 1));
  }
  for (size_t i = 0; i < n; ++i) {
    LineVector around{};
    for (const size_t j : {i - 1, i + 1}) {
      if (j >= n) continue;  // i - 1 wraps around below 0
      for (int d = 0; d < kCohesionDims; ++d) around[d] += centre[j][d];
    }
    const LineVector target = association.Following(around);
    std::vector<Candidate>& list = lists[i];
    for (Candidate& c : list) {
      LineView view = ViewOfCandidate(i, c);
      view.around = &target;
      terms_.WeighLine(LineStage::kNeighbours, view, c.costs, c.penalty, c.prior);
    }
    std::vector<Key>& order = orders[i];
    for (Key& key : order) key.prior = list[key.at].prior;
    const size_t kept = std::min(list.size(), candidates);
    std::partial_sort(order.begin(), order.begin() + kept, order.end(), Better<Key>);
    std::vector<Candidate> best;
    best.reserve(kept);
    for (size_t k = 0; k < kept; ++k) best.push_back(std::move(list[order[k].at]));
    list = std::move(best);
  }
}

}  // namespace miravel::poemd
