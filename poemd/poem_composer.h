// Composes an acrostic poem from the corpus as a whole: for each hidden
// character a line of the ordered length that holds it at the ordered
// place, the lines chosen together so that they keep the rules below and
// belong together as closely as the corpus allows.
//
// The rules, and the order in which they give way when no line keeps them
// all (the place and the length never give way):
//   1. Drama and colloquial lines only where no other line holds the
//      character at its place.
//   2. Rhyme: the even lines (and with first_line_rhymes the first) end on 平
//      in one rhyme group; failing that, in the group on another tone; then
//      on 平 of any group; then anything.
//   3. The other lines end on 仄.
//   4. No character repeats across lines, the hidden ones aside (within any
//      eight consecutive lines, for long poems).
//   5. 粘对: the second characters follow the poem's template (tonal_pattern.h).
//   6. 二四不同 and 二六对 inside each line.
// Then, among the lines that keep the most: the ones that belong together
// (the association vectors: each line with the next, and the two lines of
// a couplet character by character), a real couplet taken whole where two
// consecutive hidden characters allow one, lines near the theme, plain
// lines, and better-ranked sources (regulated Tang and Song shi first).
//
// The search is a beam search over the lines in order, over the best
// candidates for each line. A character that no corpus line holds at that
// place gets a made line: a corpus line whose character there has the same
// tone class, with the hidden character put in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "poemd/corpus_index.h"
#include "poemd/poem_order.h"
#include "poemd/tonal_pattern.h"

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
  Opening opening = Opening::kLevel;
};

struct ComposeOptions {
  uint64_t seed = 0;
  // Theme words: lines associated with them are preferred. Empty: the
  // hidden characters set the theme.
  std::u16string theme;
  // Set to keep a poem's template and rhyme while lines change.
  std::optional<RhymeGroup> rhyme;
  std::optional<Opening> opening;
  // Per line, a corpus line to keep as it is (when it still holds the
  // character at its place), and corpus lines not to take again.
  std::vector<std::optional<uint32_t>> kept;
  std::vector<std::vector<uint32_t>> refused;
};

// The same order, options and index always give the same poem.
Poem ComposePoem(const CorpusIndex& index, const PoemOrder& order, const ComposeOptions& options);

}  // namespace miravel::poemd
