// The beam search over the candidates of each line (candidate_lines.h): the
// poem whose lines break the fewest rules and, among those, score highest
// together. Penalties and preferences are kept apart and compared in that
// order, so that a broken rule never drowns the preferences of the poems
// that break it alike. A poem's score is the sum of its lines' preferences
// and, for each line after the first, how well it follows the one before:
// their cohesion, and for the second line of a couplet the parallel
// association of the two lines' characters position by position and a
// bonus when they are a real couplet. The middle couplets of a poem of
// eight lines or more (a 律诗, or an 排律: every couplet but the first and
// the last) are asked to run in parallel (对仗): a couplet the parallel model
// judges parallel gains much, a real middle couplet of a real 律诗 most.
// A rhyme character used by an earlier rhyming line (重韵) costs
// kRepeatedRhymePenalty; other characters may repeat, as poets repeat them,
// at a cost to the score. No corpus line is taken twice.
#pragma once

#include <vector>

#include "poemd/compose/candidate_lines.h"
#include "poemd/index/association.h"
#include "poemd/index/parallel_model.h"

namespace miravel::poemd {

struct SearchShape {
  int length = 5;
  bool first_line_rhymes = false;
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
                        const Association& association, const ParallelModel& parallel);

}  // namespace miravel::poemd
