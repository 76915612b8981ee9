// Composes an acrostic poem from the corpus: for each hidden character, a
// line of the ordered length that holds it at the ordered place.
//
// Rhyme: the even lines (and with first_line_rhymes the first) end on a 平
// character of one rhyme group; the other lines end on 仄 where the corpus
// allows. No line is used twice. Where no line satisfies everything, the
// rules give way in this order: the first line's rhyme, the 仄 endings, the
// rhyme group (and last the 平 ending of rhyming lines); the place and the
// length never. A character that no corpus line holds at that place gets a
// corpus line whose character there has the same tone class, with the
// hidden character put in: a made line.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "poemd/corpus_index.h"
#include "poemd/poem_order.h"

namespace miravel::poemd {

struct ComposedLine {
  std::u16string text;       // the hidden character in its place
  uint32_t corpus_line = 0;  // the line taken, or the one a made line comes from
  bool made = false;
  bool has_source = false;  // false when the corpus has no line of this length
};

struct Poem {
  std::vector<ComposedLine> lines;
  RhymeGroup rhyme = kNoRhymeGroup;  // the group the rhyming lines were meant to share
};

Poem ComposePoem(const CorpusIndex& index, const PoemOrder& order, std::mt19937_64& rng);

}  // namespace miravel::poemd
