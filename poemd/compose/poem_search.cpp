#include "poemd/compose/poem_search.h"

#include <algorithm>
#include <cmath>

#include "poemd/compose/line_rules.h"

namespace miravel::poemd {
namespace {

// Preferences, in the units of candidate_lines.cpp.
constexpr float kCohesionWeight = 2.0f;
constexpr float kCoupletBonus = 0.1f;
// A middle couplet: how much its parallelism counts (the model's log-odds,
// above even), and a real middle couplet of a real 律诗 on top.
constexpr float kMiddleParallelWeight = 0.5f;
constexpr float kMiddleCoupletBonus = 1.0f;
// A character of an earlier line again (the hidden ones aside), within
// kRepeatSpan lines: poets repeat, but seldom, and mostly on purpose.
constexpr float kRepeatCost = 0.12f;
constexpr size_t kRepeatSpan = 8;
constexpr size_t kBeamWidth = 8;
// After the first line of a middle couplet the beam widens: the first lines
// that have a parallel answer are seldom the likeliest alone, and a narrow
// beam dropped them before their answer was weighed.
constexpr size_t kMiddleBeamWidth = 32;

struct Step {
  int64_t penalty;  // the rules broken so far, weighed
  float score;      // the preferences so far
  int parent;
  int pick;

  bool BetterThan(const Step& other) const {
    return penalty != other.penalty ? penalty < other.penalty : score > other.score;
  }
};

// What a partial poem holds that a next line must be checked against.
struct EarlierLines {
  std::vector<char16_t> rhymes;  // the rhyme characters of its rhyming lines
  std::vector<uint32_t> used;    // every corpus line taken
  uint64_t signature = 0;        // of the last kRepeatSpan - 1 lines
  std::vector<const Candidate*> recent;
};

class Search {
 public:
  Search(const std::vector<std::vector<Candidate>>& lists, const SearchShape& shape,
         const Association& association, const ParallelModel& parallel)
      : lists_(lists),
        shape_(shape),
        association_(association),
        parallel_(parallel),
        steps_(lists.size()) {}

  SearchResult Run() {
    const size_t n = lists_.size();
    for (size_t k = 0; k < lists_[0].size(); ++k) {
      const Candidate& c = lists_[0][k];
      steps_[0].push_back({c.penalty, c.prior, -1, static_cast<int>(k)});
    }
    Prune(steps_[0], kBeamWidth);
    for (size_t i = 1; i < n; ++i) {
      follows_.assign(lists_[i - 1].size() * lists_[i].size(), NAN);
      steps_[i].reserve(steps_[i - 1].size() * lists_[i].size());
      for (size_t p = 0; p < steps_[i - 1].size(); ++p) Extend(i, p);
      if (steps_[i].empty()) {
        // Every candidate was taken already: take one again rather than none.
        const Step& best = steps_[i - 1][0];
        steps_[i].push_back({best.penalty + kMadePenalty, best.score, 0, 0});
      }
      Prune(steps_[i], IsMiddleCouplet(i, n) ? kMiddleBeamWidth : kBeamWidth);
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
  EarlierLines Gather(size_t i, size_t parent) const {
    EarlierLines earlier;
    size_t at = parent;
    for (size_t back = 1; back <= i; ++back) {
      const Step& step = steps_[i - back][at];
      const Candidate& c = lists_[i - back][step.pick];
      if (IsRhymingLine(i - back, shape_.first_line_rhymes)) earlier.rhymes.push_back(c.last);
      if (back < kRepeatSpan) {
        earlier.signature |= c.signature;
        earlier.recent.push_back(&c);
      }
      if (!c.made) earlier.used.push_back(c.line);
      at = static_cast<size_t>(step.parent);
    }
    return earlier;
  }

  // How many of the candidate's characters (the hidden ones aside) stand in
  // the recent lines.
  int Repeats(const Candidate& c, const EarlierLines& earlier) const {
    if ((earlier.signature & c.signature) == 0) return 0;
    int repeats = 0;
    for (int k = 0; k < shape_.length; ++k) {
      const char16_t ch = c.text[k];
      if (k == c.at || (c.signature & SignatureBit(ch)) == 0) continue;
      repeats += std::any_of(earlier.recent.begin(), earlier.recent.end(), [&](const Candidate* e) {
        return (e->signature & SignatureBit(ch)) != 0 && e->text.find(ch) != std::u16string::npos;
      });
    }
    return repeats;
  }

  int RepeatedRhymes(size_t i, const Candidate& c, const EarlierLines& earlier) const {
    if (!IsRhymingLine(i, shape_.first_line_rhymes)) return 0;
    return static_cast<int>(std::count(earlier.rhymes.begin(), earlier.rhymes.end(), c.last));
  }

  // How well candidate k of line i follows candidate `pick` of line i - 1;
  // remembered, since several partial poems end in the same candidate.
  float Follows(size_t i, int pick, size_t k) {
    float& known = follows_[static_cast<size_t>(pick) * lists_[i].size() + k];
    if (!std::isnan(known)) return known;
    const Candidate& previous = lists_[i - 1][pick];
    const Candidate& c = lists_[i][k];
    known = kCohesionWeight * Association::Dot(previous.vector(), c.following());
    if (i % 2 == 1) {
      const bool partners = previous.partner == static_cast<int>(k);
      if (partners) known += kCoupletBonus;
      if (IsMiddleCouplet(i - 1, lists_.size())) {
        known += kMiddleParallelWeight * parallel_.Score(previous.text, c.text);
        if (partners && previous.middle_partner) known += kMiddleCoupletBonus;
      }
    }
    return known;
  }

  void Extend(size_t i, size_t parent) {
    const Step& from = steps_[i - 1][parent];
    const EarlierLines earlier = Gather(i, parent);
    for (size_t k = 0; k < lists_[i].size(); ++k) {
      const Candidate& c = lists_[i][k];
      if (!c.made &&
          std::find(earlier.used.begin(), earlier.used.end(), c.line) != earlier.used.end()) {
        continue;
      }
      const int64_t penalty =
          from.penalty + c.penalty + int64_t{kRepeatedRhymePenalty} * RepeatedRhymes(i, c, earlier);
      const float score = from.score + c.prior -
                          kRepeatCost * static_cast<float>(Repeats(c, earlier)) +
                          Follows(i, from.pick, k);
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
  const Association& association_;
  const ParallelModel& parallel_;
  std::vector<std::vector<Step>> steps_;
  std::vector<float> follows_;  // [pick of line i - 1][candidate of line i], NaN until known
};

}  // namespace

SearchResult SearchPoem(const std::vector<std::vector<Candidate>>& lists, const SearchShape& shape,
                        const Association& association, const ParallelModel& parallel) {
  if (lists.empty()) return {};
  return Search(lists, shape, association, parallel).Run();
}

}  // namespace miravel::poemd
