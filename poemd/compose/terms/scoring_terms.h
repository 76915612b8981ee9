// The scoring terms one composition weighs (term.h), made from the weights
// and what the poem is: its occasion, its theme, its chance. Line terms are
// weighed stage by stage as a line becomes a candidate; pair and poem terms
// by the search. Within each kind the terms are summed in the order they
// were added, which is part of what makes a seed give the same poem.
//
// Read-only once made, except through Add; not thread-safe (the chance
// term draws from the composition's PoemRandom).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "poemd/compose/candidate.h"
#include "poemd/compose/occasion.h"
#include "poemd/compose/poem.h"
#include "poemd/compose/poem_random.h"
#include "poemd/compose/terms/term.h"
#include "poemd/compose/terms/weights.h"
#include "poemd/index/association.h"
#include "poemd/index/parallel_model.h"

namespace miravel::poemd {

struct TermContext {
  const Weights& weights;
  const Association& association;
  const ParallelModel& parallel;
  Occasion occasion = Occasion::kNone;
  // Association::Following of the theme's vector.
  const LineVector& theme;
  PoemRandom& random;
  bool first_line_rhymes = false;
  // What the poem is about (subject_choice.h) and the subjects near it, of
  // the lines of `length` in `index`.
  const CorpusIndex& index;
  int length = 5;
  SubjectId subject = kNoSubject;
  std::span<const SubjectId> near_subjects;
};

class ScoringTerms {
 public:
  // The composer's terms. Everything `context` refers to must outlive them.
  explicit ScoringTerms(const TermContext& context);
  // No terms at all: a search by hand-set penalties and priors alone.
  ScoringTerms() = default;

  // A further term, summed after those of its kind. REQUIRES: fewer than
  // kMaxLineTerms line terms.
  void Add(std::unique_ptr<LineTerm> term);
  void Add(std::unique_ptr<PairTerm> term);
  void Add(std::unique_ptr<PoemTerm> term);

  // Weighs `line` by the line terms of `stage`: each one's cost into
  // `costs`, at the term's place, and their sums onto `penalty` and
  // `prior`.
  void WeighLine(LineStage stage, const LineView& line, LineCosts& costs, int& penalty,
                 float& prior) const;
  // Adds the costs the line terms of `stage` once gave a line (`given`, as
  // WeighLine recorded them) as if weighing it again: into `costs` and onto
  // `penalty` and `prior`, in the same order, so with the same sums.
  void Replay(LineStage stage, const LineCosts& given, LineCosts& costs, int& penalty,
              float& prior) const;
  // The penalty alone, for ranking lines before they become candidates.
  // REQUIRES: no term of `stage` draws on chance (kForm and later).
  int LinePenalty(LineStage stage, const LineView& line) const;
  // Whether a line term of `stage` refuses the line outright (LineTerm::Refuses).
  bool Refuses(LineStage stage, const LineView& line) const;
  // Sets the cost of the line term named `name` without weighing it, for a
  // line whose cost is known by what it is (a made line kept, a made line
  // of no donor); adds it onto `penalty`. REQUIRES: such a term exists.
  void Charge(std::string_view name, int cost, LineCosts& costs, int& penalty) const;

  // The pair terms' costs of each of line i's `candidates` after line
  // i - 1's `previous`, added into `costs`.
  void WeighPairs(size_t i, size_t lines, const Candidate& previous,
                  std::span<const Candidate> candidates, std::span<Cost> costs) const;

  // Where each poem term's running state lies in a partial poem's state,
  // for a poem of `lines` lines, and how many bytes the state takes.
  struct StateLayout {
    size_t lines = 0;
    std::vector<size_t> offsets;
    size_t bytes = 0;
  };
  StateLayout Layout(size_t lines) const;
  void Start(std::byte* state, const StateLayout& layout) const;
  // The poem terms' costs of each of line i's `candidates` after the lines
  // `state` holds, added into `costs`; refused when any term refuses.
  void WeighPoem(size_t i, std::span<const Candidate> candidates, const std::byte* state,
                 const StateLayout& layout, std::span<Cost> costs) const;
  void Advance(size_t i, const Candidate& c, std::byte* state, const StateLayout& layout) const;

  // Each term's share of the score of the poem that takes candidate
  // picks[i] of lists[i] as line i, in the order the terms are summed:
  // line terms, pair terms, poem terms. A line taken again (where the
  // search had to) counts a made line's penalty to the term that refused
  // it.
  std::vector<TermShare> Explain(const std::vector<std::vector<Candidate>>& lists,
                                 const std::vector<int>& picks) const;

 private:
  std::vector<std::unique_ptr<LineTerm>> line_;
  // The places of the line terms of each stage, in order.
  std::array<std::vector<uint8_t>, 4> stages_;
  std::vector<std::unique_ptr<PairTerm>> pair_;
  std::vector<std::unique_ptr<PoemTerm>> poem_;
};

}  // namespace miravel::poemd
