#include "poemd/compose/terms/scoring_terms.h"

#include <stdexcept>

#include "poemd/compose/subject_choice.h"
#include "poemd/compose/terms/chance_term.h"
#include "poemd/compose/terms/cohesion_term.h"
#include "poemd/compose/terms/couplet_term.h"
#include "poemd/compose/terms/made_term.h"
#include "poemd/compose/terms/middle_couplet_term.h"
#include "poemd/compose/terms/neighbours_term.h"
#include "poemd/compose/terms/occasion_poem_term.h"
#include "poemd/compose/terms/occasion_term.h"
#include "poemd/compose/terms/once_term.h"
#include "poemd/compose/terms/one_subject_term.h"
#include "poemd/compose/terms/parallel_term.h"
#include "poemd/compose/terms/rank_term.h"
#include "poemd/compose/terms/repeated_rhymes_term.h"
#include "poemd/compose/terms/repeats_term.h"
#include "poemd/compose/terms/rules_term.h"
#include "poemd/compose/terms/sources_term.h"
#include "poemd/compose/terms/subject_term.h"
#include "poemd/compose/terms/theme_term.h"
#include "poemd/compose/terms/turn_term.h"

namespace miravel::poemd {
namespace {

// Every state starts on an 8-byte boundary, as its pointers and counts need.
constexpr size_t Aligned(size_t bytes) { return (bytes + 7) & ~size_t{7}; }

}  // namespace

ScoringTerms::ScoringTerms(const TermContext& context) {
  const Weights& w = context.weights;
  // Line terms: within a stage, in this order.
  Add(std::make_unique<MadeTerm>());
  Add(std::make_unique<RankTerm>(w));
  Add(std::make_unique<ChanceTerm>(w, context.random));
  Add(std::make_unique<OccasionTerm>(w, context.occasion));
  Add(std::make_unique<SubjectTerm>(w, context.index, context.length, context.subject,
                                    context.near_subjects));
  Add(std::make_unique<OccasionPoemTerm>(w, context.index.Subjects(), ClassesOf(context.occasion)));
  Add(std::make_unique<RulesTerm>());
  Add(std::make_unique<ThemeTerm>(w, context.theme));
  Add(std::make_unique<NeighboursTerm>(w));
  Add(std::make_unique<CohesionTerm>(w));
  Add(std::make_unique<CoupletTerm>(w));
  Add(std::make_unique<ParallelTerm>(w, context.parallel));
  Add(std::make_unique<MiddleCoupletTerm>(w));
  Add(std::make_unique<TurnTerm>(w));
  Add(std::make_unique<OnceTerm>());
  Add(std::make_unique<RepeatedRhymesTerm>(context.first_line_rhymes));
  Add(std::make_unique<RepeatsTerm>(w));
  Add(std::make_unique<OneSubjectTerm>(w, context.index.Subjects(), context.subject));
  Add(std::make_unique<SourcesTerm>(w));
}

void ScoringTerms::Add(std::unique_ptr<LineTerm> term) {
  if (line_.size() == kMaxLineTerms) throw std::logic_error("too many line terms");
  stages_[static_cast<size_t>(term->Stage())].push_back(static_cast<uint8_t>(line_.size()));
  line_.push_back(std::move(term));
}
void ScoringTerms::Add(std::unique_ptr<PairTerm> term) { pair_.push_back(std::move(term)); }
void ScoringTerms::Add(std::unique_ptr<PoemTerm> term) { poem_.push_back(std::move(term)); }

void ScoringTerms::WeighLine(LineStage stage, const LineView& line, LineCosts& costs, int& penalty,
                             float& prior) const {
  for (const uint8_t k : stages_[static_cast<size_t>(stage)]) {
    const Cost cost = line_[k]->Weigh(line);
    costs.penalty[k] = static_cast<int>(cost.penalty);
    costs.preference[k] = cost.preference;
    penalty += static_cast<int>(cost.penalty);
    prior += cost.preference;
  }
}

void ScoringTerms::Replay(LineStage stage, const LineCosts& given, LineCosts& costs, int& penalty,
                          float& prior) const {
  for (const uint8_t k : stages_[static_cast<size_t>(stage)]) {
    costs.penalty[k] = given.penalty[k];
    costs.preference[k] = given.preference[k];
    penalty += given.penalty[k];
    prior += given.preference[k];
  }
}

int ScoringTerms::LinePenalty(LineStage stage, const LineView& line) const {
  int penalty = 0;
  for (const uint8_t k : stages_[static_cast<size_t>(stage)]) {
    penalty += static_cast<int>(line_[k]->Weigh(line).penalty);
  }
  return penalty;
}

bool ScoringTerms::Refuses(LineStage stage, const LineView& line) const {
  for (const uint8_t k : stages_[static_cast<size_t>(stage)]) {
    if (line_[k]->Refuses(line)) return true;
  }
  return false;
}

void ScoringTerms::Charge(std::string_view name, int cost, LineCosts& costs, int& penalty) const {
  for (size_t k = 0; k < line_.size(); ++k) {
    if (line_[k]->Name() != name) continue;
    costs.penalty[k] += cost;
    penalty += cost;
    return;
  }
  throw std::logic_error("no line term of that name");
}

void ScoringTerms::WeighPairs(size_t i, size_t lines, const Candidate& previous,
                              std::span<const Candidate> candidates, std::span<Cost> costs) const {
  for (const auto& term : pair_)
    term->Weigh(i, lines, previous, previous.partner, candidates, costs);
}

ScoringTerms::StateLayout ScoringTerms::Layout(size_t lines) const {
  StateLayout layout{lines, {}, 0};
  for (const auto& term : poem_) {
    layout.offsets.push_back(layout.bytes);
    layout.bytes += Aligned(term->StateBytes(lines));
  }
  return layout;
}

void ScoringTerms::Start(std::byte* state, const StateLayout& layout) const {
  for (size_t k = 0; k < poem_.size(); ++k) {
    poem_[k]->Start(state + layout.offsets[k], layout.lines);
  }
}

void ScoringTerms::WeighPoem(size_t i, std::span<const Candidate> candidates,
                             const std::byte* state, const StateLayout& layout,
                             std::span<Cost> costs) const {
  for (size_t k = 0; k < poem_.size(); ++k) {
    poem_[k]->Weigh(i, candidates, state + layout.offsets[k], costs);
  }
}

void ScoringTerms::Advance(size_t i, const Candidate& c, std::byte* state,
                           const StateLayout& layout) const {
  for (size_t k = 0; k < poem_.size(); ++k) poem_[k]->Advance(i, c, state + layout.offsets[k]);
}

std::vector<TermShare> ScoringTerms::Explain(const std::vector<std::vector<Candidate>>& lists,
                                             const std::vector<int>& picks) const {
  std::vector<TermShare> shares;
  for (const auto& term : line_) shares.push_back({term->Name()});
  for (const auto& term : pair_) shares.push_back({term->Name()});
  for (const auto& term : poem_) shares.push_back({term->Name()});
  const size_t n = picks.size();
  const StateLayout layout = Layout(n);
  std::vector<std::byte> state(layout.bytes);
  Start(state.data(), layout);
  for (size_t i = 0; i < n; ++i) {
    const Candidate& c = lists[i][picks[i]];
    for (size_t k = 0; k < line_.size(); ++k) {
      shares[k].penalty += c.costs.penalty[k];
      shares[k].preference += c.costs.preference[k];
    }
    const std::span<const Candidate> one(&c, 1);
    if (i > 0) {
      const Candidate& previous = lists[i - 1][picks[i - 1]];
      const int partner = previous.partner == picks[i] ? 0 : -1;
      for (size_t k = 0; k < pair_.size(); ++k) {
        Cost cost;
        pair_[k]->Weigh(i, n, previous, partner, one, {&cost, 1});
        shares[line_.size() + k].penalty += cost.penalty;
        shares[line_.size() + k].preference += cost.preference;
      }
    }
    for (size_t k = 0; k < poem_.size(); ++k) {
      Cost cost;
      poem_[k]->Weigh(i, one, state.data() + layout.offsets[k], {&cost, 1});
      TermShare& share = shares[line_.size() + pair_.size() + k];
      share.penalty += cost.refused ? kMadePenalty : cost.penalty;
      share.preference += cost.preference;
    }
    Advance(i, c, state.data(), layout);
  }
  return shares;
}

}  // namespace miravel::poemd
