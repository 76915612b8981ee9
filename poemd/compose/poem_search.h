// The beam search over the candidates of each line: the poem whose lines
// break the fewest rules and, among those, score highest together. A
// partial poem's score is the sum of the scoring terms (terms/term.h): its
// lines' line terms (their candidates' penalties and priors), each line's
// pair terms with the line before it, and the poem terms over all the lines
// before it, whose running state each partial poem carries. Penalties and
// preferences are compared in that order, so that a broken rule never
// drowns the preferences of the poems that break it alike. The search knows
// no term by name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "poemd/compose/candidate.h"
#include "poemd/compose/terms/scoring_terms.h"

namespace miravel::poemd {

struct SearchShape {
  // Partial poems kept after each line (ComposeSizes::beam), and after the
  // first line of a middle couplet (ComposeSizes::middle_beam).
  size_t beam = 8;
  size_t middle_beam = 32;
};

struct SearchResult {
  std::vector<int> picks;  // the chosen candidate of each line
  int64_t penalty = 0;     // the rules the poem breaks, weighed
  float score = 0;         // its preferences
  // Better: fewer penalties, then more preferred.
  bool BetterThan(const SearchResult& other) const {
    return penalty != other.penalty ? penalty < other.penalty : score > other.score;
  }
};

// REQUIRES: no list is empty.
SearchResult SearchPoem(const std::vector<std::vector<Candidate>>& lists, const SearchShape& shape,
                        const ScoringTerms& terms);

}  // namespace miravel::poemd
