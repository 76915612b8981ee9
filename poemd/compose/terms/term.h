// The scoring terms a poem is weighed by, each with a name and a weight
// (weights.h), in three kinds:
//   - a line term weighs one line alone (the rules it keeps, its source's
//     rank, the theme, the occasion);
//   - a pair term weighs a line after the one before it (cohesion, a real
//     couplet, 对仗);
//   - a poem term weighs a line after all the lines before it, through a
//     small running state that each partial poem of the search carries
//     (no line taken twice, repeated characters, 重韵), so that nothing is
//     gathered again up the chain.
// A term gives a Cost: a penalty (rules broken, weighed as line_rules.h
// orders them) and a preference. The search (poem_search.h) sums the terms
// and compares penalties first, then preferences; it knows no term by name.
// A new idea about poems is a new term: one file here, its weight in
// weights.h, and its place in scoring_terms.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "poemd/compose/candidate.h"
#include "poemd/compose/line_rules.h"
#include "poemd/index/corpus_index.h"

namespace miravel::poemd {

struct Cost {
  int64_t penalty = 0;
  float preference = 0;
  // The search must not take the line at all (a poem term's veto).
  bool refused = false;
};

// When a line term can be weighed: what is known of a line by then. The
// candidates are built in these steps (candidate_maker.h), and only the
// lines that pass one step reach the next.
enum class LineStage : uint8_t {
  kFound,       // read from the corpus: its traits, text and reading
  kForm,        // a form is being tried: its rules (rhyme and opening)
  kVectors,     // shortlisted: its association vectors
  kNeighbours,  // narrowed by the likeliest lines either side
};

// A line as the line terms read it. What a stage has not reached is null.
struct LineView {
  size_t i = 0;       // its line in the poem
  int at = 0;         // the hidden character's position
  uint32_t line = 0;  // the corpus line, or a made line's donor
  bool made = false;
  std::u16string_view text;              // as it would stand in the poem
  const LineTraits* traits = nullptr;    // the corpus line's (the donor's)
  const LineReading* reading = nullptr;  // what the rules read of `text`
  // kForm: the form's rules, and the line's template penalties by Opening
  // when known already (LineRules::TemplatePenalty).
  const LineRules* rules = nullptr;
  Opening opening = Opening::kLevel;
  const int* template_penalties = nullptr;
  // kVectors: its cohesion vector; kNeighbours: what the likeliest lines
  // either side make ready to follow it (Association::Following).
  const LineVector* vector = nullptr;
  const LineVector* around = nullptr;
};

class LineTerm {
 public:
  virtual ~LineTerm() = default;
  virtual std::string_view Name() const = 0;
  virtual LineStage Stage() const = 0;
  // REQUIRES: `line` holds what Stage() names.
  virtual Cost Weigh(const LineView& line) const = 0;
  // Whether the term refuses the line whatever else it is, told without
  // weighing it (so without drawing on the composition's chance): a line it
  // refuses never becomes a candidate where better ones exist.
  virtual bool Refuses(const LineView&) const { return false; }
};

// Line i's candidate `next` after line i - 1's `previous`.
struct PairView {
  size_t i = 0;
  size_t lines = 0;  // in the poem
  const Candidate& previous;
  const Candidate& next;
  // The two are the lines of one real couplet (Candidate::partner).
  bool partners = false;
};

// Terms are weighed over every candidate of a line at once, so that the
// search pays one call a term, not one a candidate; each adds its cost into
// `costs`, one per candidate, in the order the terms are summed. A term
// writes how it weighs one candidate (WeighOne) and inherits the loop
// (PairTermOf, PoemTermOf below).

class PairTerm {
 public:
  virtual ~PairTerm() = default;
  virtual std::string_view Name() const = 0;
  // Each of line i's `candidates` after line i - 1's `previous`, whose real
  // couplet's other line is candidates[partner] (none when out of range).
  virtual void Weigh(size_t i, size_t lines, const Candidate& previous, int partner,
                     std::span<const Candidate> candidates, std::span<Cost> costs) const = 0;
};

// A poem term's running state is plain bytes (trivially copyable, aligned
// to 8), StateBytes long, that the search copies from a partial poem to
// the partial poems that extend it.
class PoemTerm {
 public:
  virtual ~PoemTerm() = default;
  virtual std::string_view Name() const = 0;
  // The state a partial poem of a poem of `lines` lines carries.
  virtual size_t StateBytes(size_t lines) const = 0;
  // The state of the poem before its first line.
  virtual void Start(std::byte* state, size_t lines) const = 0;
  // What each of `candidates` costs as line i after the lines `state` holds.
  virtual void Weigh(size_t i, std::span<const Candidate> candidates, const std::byte* state,
                     std::span<Cost> costs) const = 0;
  // `state` with candidate `c` taken as line i.
  virtual void Advance(size_t i, const Candidate& c, std::byte* state) const = 0;
};

// Adds `cost` into `into`: penalties and preferences summed, a refusal kept.
inline void AddCost(Cost& into, const Cost& cost) {
  into.penalty += cost.penalty;
  into.preference += cost.preference;
  into.refused = into.refused || cost.refused;
}

// A pair term that weighs one candidate at a time:
//   Cost WeighOne(const PairView& pair) const;
template <typename Derived>
class PairTermOf : public PairTerm {
 public:
  void Weigh(size_t i, size_t lines, const Candidate& previous, int partner,
             std::span<const Candidate> candidates, std::span<Cost> costs) const final {
    const auto& self = static_cast<const Derived&>(*this);
    for (size_t k = 0; k < candidates.size(); ++k) {
      AddCost(costs[k],
              self.WeighOne({i, lines, previous, candidates[k], static_cast<int>(k) == partner}));
    }
  }
};

// A poem term that weighs one candidate at a time:
//   Cost WeighOne(size_t i, const Candidate& c, const std::byte* state) const;
template <typename Derived>
class PoemTermOf : public PoemTerm {
 public:
  void Weigh(size_t i, std::span<const Candidate> candidates, const std::byte* state,
             std::span<Cost> costs) const final {
    const auto& self = static_cast<const Derived&>(*this);
    for (size_t k = 0; k < candidates.size(); ++k) {
      AddCost(costs[k], self.WeighOne(i, candidates[k], state));
    }
  }
};

}  // namespace miravel::poemd
