// The beam search over the candidates of each line (candidate_lines.h): the
// poem whose lines break the fewest rules and, among those, score highest
// together. A poem's score is the sum of its lines' preferences and, for
// each line after the first, how well it follows the one before: their
// cohesion, and for the second line of a couplet the parallel association
// of the two lines' characters position by position and a bonus when they
// are a real couplet. A rhyme character used by an earlier rhyming line
// (重韵) costs kRepeatedRhymePenalty; other characters may repeat, as poets
// repeat them, at a small cost to the score. No corpus line is taken twice.
#pragma once

#include <vector>

#include "poemd/compose/candidate_lines.h"
#include "poemd/index/association.h"

namespace miravel::poemd {

struct SearchShape {
  int length = 5;
  bool first_line_rhymes = false;
};

// The chosen candidate of each line. REQUIRES: no list is empty.
std::vector<int> SearchPoem(const std::vector<std::vector<Candidate>>& lists,
                            const SearchShape& shape, const Association& association);

}  // namespace miravel::poemd
