#include "poemd/compose/parallel_proposer.h"

#include <algorithm>

#include "poemd/compose/poem_form.h"

namespace miravel::poemd {

void ProposeParallelAnswers(std::vector<std::vector<Candidate>>& lists, const FormRules& form,
                            const HiddenLines& hidden, const CorpusScan& scan,
                            const ScoringTerms& terms, const CandidateMaker& maker) {
  const CorpusIndex& index = hidden.Index();
  const ParallelModel& model = index.Parallelism();
  const size_t firsts = hidden.Options().sizes.parallel_firsts;
  // For each of line `from`'s likeliest candidates, the line read for `to`
  // that answers it best, among those that keep as many rules as `to`'s
  // best candidate. `first`: `from` leads.
  const auto answer = [&](size_t from, size_t to, bool first) {
    const int best = lists[to].front().penalty;
    std::vector<const FoundLine*> keeping;
    for (const FoundLine& line : scan.Found(to)) {
      LineView view = maker.ViewOf(to, line.line, line.traits, line.reading);
      view.rules = &form.rules;
      view.opening = form.opening;
      view.template_penalties = line.template_penalties;
      if (line.penalty + terms.LinePenalty(LineStage::kForm, view) <= best) {
        keeping.push_back(&line);
      }
    }
    std::vector<const FoundLine*> answers;
    for (size_t k = 0; k < std::min(lists[from].size(), firsts); ++k) {
      const std::u16string& given = lists[from][k].text;
      const FoundLine* found = nullptr;
      float top = 0;  // even odds: only a parallel answer joins
      for (const FoundLine* line : keeping) {
        const std::u16string_view text = index.Text(hidden.Length(), line->line);
        const float score = first ? model.Score(given, text) : model.Score(text, given);
        if (score > top) {
          top = score;
          found = line;
        }
      }
      if (found != nullptr) answers.push_back(found);
    }
    std::vector<Candidate>& list = lists[to];
    for (const FoundLine* line : answers) {
      const bool present = std::any_of(list.begin(), list.end(), [&](const Candidate& c) {
        return !c.made && c.line == line->line;
      });
      if (!present) list.push_back(maker.FromFound(to, *line, form));
    }
  };
  for (size_t i = 0; i + 1 < lists.size(); ++i) {
    if (!IsMiddleCouplet(i, lists.size())) continue;
    if (!hidden.KeptAt(i + 1)) answer(i, i + 1, true);
    if (!hidden.KeptAt(i)) answer(i + 1, i, false);
  }
}

}  // namespace miravel::poemd
