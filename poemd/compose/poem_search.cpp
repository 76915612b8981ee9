#include "poemd/compose/poem_search.h"

#include <algorithm>
#include <cstring>

#include "poemd/compose/line_rules.h"
#include "poemd/compose/poem_form.h"

namespace miravel::poemd {
namespace {

struct Step {
  int64_t penalty;  // the rules broken so far, weighed
  float score;      // the preferences so far
  int parent;
  int pick;

  bool BetterThan(const Step& other) const {
    return penalty != other.penalty ? penalty < other.penalty : score > other.score;
  }
};

class Search {
 public:
  Search(const std::vector<std::vector<Candidate>>& lists, const SearchShape& shape,
         const ScoringTerms& terms)
      : lists_(lists),
        shape_(shape),
        terms_(terms),
        layout_(terms.Layout(lists.size())),
        steps_(lists.size()),
        states_(lists.size()) {}

  SearchResult Run() {
    const size_t n = lists_.size();
    std::vector<std::byte> start(layout_.bytes);
    terms_.Start(start.data(), layout_);
    std::vector<Cost> poem(lists_[0].size());
    terms_.WeighPoem(0, lists_[0], start.data(), layout_, poem);
    for (size_t k = 0; k < lists_[0].size(); ++k) {
      const Candidate& c = lists_[0][k];
      steps_[0].push_back(
          {c.penalty + poem[k].penalty, c.prior + poem[k].preference, -1, static_cast<int>(k)});
    }
    Prune(steps_[0], shape_.beam);
    Remember(0, &start);
    for (size_t i = 1; i < n; ++i) {
      pairs_.assign(lists_[i - 1].size(), {});
      steps_[i].reserve(steps_[i - 1].size() * lists_[i].size());
      for (size_t p = 0; p < steps_[i - 1].size(); ++p) Extend(i, p);
      if (steps_[i].empty()) {
        // Every candidate was taken already: take one again rather than none.
        const Step& best = steps_[i - 1][0];
        steps_[i].push_back({best.penalty + kMadePenalty, best.score, 0, 0});
      }
      Prune(steps_[i], IsMiddleCouplet(i, n) ? shape_.middle_beam : shape_.beam);
      Remember(i, nullptr);
    }
    SearchResult result;
    result.picks.resize(n);
    result.penalty = steps_[n - 1][0].penalty;
    result.score = steps_[n - 1][0].score;
    int at = 0;
    for (size_t i = n; i-- > 0;) {
      result.picks[i] = steps_[i][at].pick;
      at = steps_[i][at].parent;
    }
    return result;
  }

 private:
  const std::byte* StateOf(size_t i, size_t step) const {
    return states_[i].data() + step * layout_.bytes;
  }

  // The poem terms' states after the kept steps of line i: each its
  // parent's (or `start`, for the first line) advanced by its pick.
  void Remember(size_t i, const std::vector<std::byte>* start) {
    std::vector<std::byte>& states = states_[i];
    states.resize(steps_[i].size() * layout_.bytes);
    for (size_t s = 0; s < steps_[i].size(); ++s) {
      const Step& step = steps_[i][s];
      std::byte* state = states.data() + s * layout_.bytes;
      const std::byte* parent =
          start != nullptr ? start->data() : StateOf(i - 1, static_cast<size_t>(step.parent));
      if (layout_.bytes > 0) std::memcpy(state, parent, layout_.bytes);
      terms_.Advance(i, lists_[i][step.pick], state, layout_);
    }
  }

  // The pair terms' costs of line i's candidates after candidate `pick` of
  // line i - 1, weighed once: several partial poems end in the same pick.
  const std::vector<Cost>& Pairs(size_t i, int pick) {
    std::vector<Cost>& row = pairs_[static_cast<size_t>(pick)];
    if (row.empty()) {
      row.resize(lists_[i].size());
      terms_.WeighPairs(i, lists_.size(), lists_[i - 1][pick], lists_[i], row);
    }
    return row;
  }

  void Extend(size_t i, size_t parent) {
    const Step& from = steps_[i - 1][parent];
    const std::vector<Candidate>& list = lists_[i];
    poem_.assign(list.size(), Cost{});
    terms_.WeighPoem(i, list, StateOf(i - 1, parent), layout_, poem_);
    const std::vector<Cost>& pairs = Pairs(i, from.pick);
    for (size_t k = 0; k < list.size(); ++k) {
      if (poem_[k].refused) continue;
      const Candidate& c = list[k];
      const int64_t penalty = from.penalty + c.penalty + poem_[k].penalty + pairs[k].penalty;
      const float score = from.score + c.prior + poem_[k].preference + pairs[k].preference;
      steps_[i].push_back({penalty, score, static_cast<int>(parent), static_cast<int>(k)});
    }
  }

  static void Prune(std::vector<Step>& steps, size_t width) {
    const size_t keep = std::min(steps.size(), width);
    std::partial_sort(steps.begin(), steps.begin() + keep, steps.end(),
                      [](const Step& a, const Step& b) { return a.BetterThan(b); });
    steps.resize(keep);
  }

  const std::vector<std::vector<Candidate>>& lists_;
  const SearchShape& shape_;
  const ScoringTerms& terms_;
  const ScoringTerms::StateLayout layout_;
  std::vector<std::vector<Step>> steps_;
  // Per line, the kept steps' poem-term states, layout_.bytes each.
  std::vector<std::vector<std::byte>> states_;
  // [pick of line i - 1][candidate of line i], empty until weighed.
  std::vector<std::vector<Cost>> pairs_;
  std::vector<Cost> poem_;  // the poem terms' costs of line i's candidates after one parent
};

}  // namespace

SearchResult SearchPoem(const std::vector<std::vector<Candidate>>& lists, const SearchShape& shape,
                        const ScoringTerms& terms) {
  if (lists.empty()) return {};
  return Search(lists, shape, terms).Run();
}

}  // namespace miravel::poemd
