// The couplets of CandidateLines (candidate_lines.h): real couplets whose
// lines hold two consecutive hidden characters, and parallel answers for
// the middle couplets of a 律诗.
#include <algorithm>
#include <optional>

#include "poemd/compose/candidate_lines.h"
#include "poemd/compose/line_reading.h"

namespace miravel::poemd {
namespace {

// How many real couplets of two hidden characters are tried at most.
constexpr size_t kCoupletsTried = 16;
// How many of a middle couplet's likeliest lines look for a parallel answer.
constexpr size_t kParallelFirsts = 12;

}  // namespace

// Couplets join only when both lines keep as many rules as the best
// candidates of their lines: a couplet is a preference, never a reason to
// break a rule.
void CandidateLines::AddCouplets(std::vector<std::vector<Candidate>>& lists, const LineRules& rules,
                                 const LineVector& theme) {
  // A couplet's line as line i, when it may join: not refused by the
  // options or the occasion, and breaking no more rules than `best`.
  struct Joining {
    uint32_t line;
    int penalty;
    float preference;
  };
  const auto joining = [&](size_t i, uint32_t line, int best) -> std::optional<Joining> {
    if (Refused(i, line)) return std::nullopt;
    const int penalty = rules.Penalty(i, ReadingOf(index_.Traits(length_, line)));
    if (penalty > best) return std::nullopt;
    const OccasionFit fit = Fit(i, line, index_.Text(length_, line));
    if (fit.refused) return std::nullopt;
    return Joining{line, penalty, fit.preference};
  };
  const auto include = [&](size_t i, const Joining& joining) {
    std::vector<Candidate>& list = lists[i];
    for (size_t k = 0; k < list.size(); ++k) {
      if (!list[k].made && list[k].line == joining.line) return static_cast<int>(k);
    }
    list.push_back(CorpusCandidate(
        i, joining.line, joining.penalty,
        BasePrior(index_.Traits(length_, joining.line)) + joining.preference, theme));
    return static_cast<int>(list.size() - 1);
  };
  for (size_t i = 0; i + 1 < lists.size(); i += 2) {
    if (KeptLineAt(i) || KeptLineAt(i + 1) || AtLine(i) != AtLine(i + 1)) continue;
    const std::span<const uint32_t> couplets =
        index_.CoupletsWith(HiddenAt(i), HiddenAt(i + 1), length_, AtLine(i));
    if (couplets.empty()) continue;
    const int best_first = lists[i].front().penalty;
    const int best_second = lists[i + 1].front().penalty;
    const size_t start = random_.Below(couplets.size());
    for (size_t k = 0; k < std::min(couplets.size(), kCoupletsTried); ++k) {
      const uint32_t at = couplets[(start + k) % couplets.size()];
      const Couplet couplet = index_.CoupletAt(length_, at);
      const std::optional<Joining> first = joining(i, couplet.first, best_first);
      if (!first) continue;
      const std::optional<Joining> second = joining(i + 1, couplet.second, best_second);
      if (!second) continue;
      const int leading = include(i, *first);
      lists[i][leading].partner = include(i + 1, *second);
      lists[i][leading].middle_partner = index_.IsMiddleCouplet(length_, at);
    }
  }
}

void CandidateLines::AddParallelPartners(std::vector<std::vector<Candidate>>& lists,
                                         const LineRules& rules, Opening opening,
                                         const LineVector& theme) {
  const ParallelModel& model = index_.Parallelism();
  // For each of line `from`'s likeliest candidates, the corpus line of line
  // `to` that answers it best in parallel, when one does, among those that
  // keep as many rules as `to`'s best candidate. `first`: `from` leads.
  const auto answer = [&](size_t from, size_t to, bool first) {
    const int best = lists[to].front().penalty;
    std::vector<const CorpusLine*> keeping;
    for (const CorpusLine& line : found_[to]) {
      if (PenaltyOf(to, line, rules, opening) <= best) keeping.push_back(&line);
    }
    std::vector<const CorpusLine*> answers;
    for (size_t k = 0; k < std::min(lists[from].size(), kParallelFirsts); ++k) {
      const std::u16string& given = lists[from][k].text;
      const CorpusLine* found = nullptr;
      float top = 0;  // even odds: only a parallel answer joins
      for (const CorpusLine* line : keeping) {
        const std::u16string_view text = index_.Text(length_, line->line);
        const float score = first ? model.Score(given, text) : model.Score(text, given);
        if (score > top) {
          top = score;
          found = line;
        }
      }
      if (found != nullptr) answers.push_back(found);
    }
    std::vector<Candidate>& list = lists[to];
    for (const CorpusLine* line : answers) {
      const bool present = std::any_of(list.begin(), list.end(), [&](const Candidate& c) {
        return !c.made && c.line == line->line;
      });
      if (!present) list.push_back(FoundCandidate(to, *line, best, line->prior, theme));
    }
  };
  for (size_t i = 0; i + 1 < lists.size(); ++i) {
    if (!IsMiddleCouplet(i, lists.size())) continue;
    if (!KeptLineAt(i + 1)) answer(i, i + 1, true);
    if (!KeptLineAt(i)) answer(i + 1, i, false);
  }
}

}  // namespace miravel::poemd
