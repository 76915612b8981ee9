#include "poemd/compose/couplet_proposer.h"

#include "poemd/compose/line_reading.h"

namespace miravel::poemd {

void ProposeCouplets(std::vector<std::vector<Candidate>>& lists, const FormRules& form,
                     const HiddenLines& hidden, const ScoringTerms& terms,
                     const CandidateMaker& maker, PoemRandom& random) {
  const CorpusIndex& index = hidden.Index();
  const int length = hidden.Length();
  // Whether a couplet's line may join as line i: not refused by the options
  // or a line term, and breaking no more rules than `best`.
  const auto joins = [&](size_t i, uint32_t line, int best) {
    if (hidden.Refused(i, line)) return false;
    const LineTraits& traits = index.Traits(length, line);
    const LineReading reading = ReadingOfLine(index, length, line);
    LineView view = maker.ViewOf(i, line, traits, reading);
    view.rules = &form.rules;
    view.opening = form.opening;
    if (terms.LinePenalty(LineStage::kForm, view) > best) return false;
    return !terms.Refuses(LineStage::kFound, view);
  };
  // The candidate of line i that is corpus line `line`, made when missing.
  const auto include = [&](size_t i, uint32_t line) {
    std::vector<Candidate>& list = lists[i];
    for (size_t k = 0; k < list.size(); ++k) {
      if (!list[k].made && list[k].line == line) return static_cast<int>(k);
    }
    list.push_back(maker.FromCorpus(i, line, form));
    return static_cast<int>(list.size() - 1);
  };
  const size_t tried = hidden.Options().sizes.couplets_tried;
  for (size_t i = 0; i + 1 < lists.size(); i += 2) {
    if (hidden.KeptAt(i) || hidden.KeptAt(i + 1) || hidden.AtLine(i) != hidden.AtLine(i + 1)) {
      continue;
    }
    const std::span<const uint32_t> couplets =
        index.CoupletsWith(hidden.HiddenAt(i), hidden.HiddenAt(i + 1), length, hidden.AtLine(i));
    if (couplets.empty()) continue;
    const int best_first = lists[i].front().penalty;
    const int best_second = lists[i + 1].front().penalty;
    const size_t start = random.Below(couplets.size());
    for (size_t k = 0; k < std::min(couplets.size(), tried); ++k) {
      const uint32_t at = couplets[(start + k) % couplets.size()];
      const Couplet couplet = index.CoupletAt(length, at);
      if (!joins(i, couplet.first, best_first) || !joins(i + 1, couplet.second, best_second)) {
        continue;
      }
      const int leading = include(i, couplet.first);
      lists[i][leading].partner = include(i + 1, couplet.second);
      lists[i][leading].middle_partner = index.IsMiddleCouplet(length, at);
    }
  }
}

}  // namespace miravel::poemd
