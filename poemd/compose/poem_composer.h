// Composes an acrostic poem from the corpus as a whole: for each hidden
// character a line of the ordered length that holds it at the ordered
// place, the lines chosen together so that they fit the poem's occasion
// (occasion.h), keep the rules of line_rules.h in the order's rhyme book,
// in the order those give way, and belong together as closely as the
// corpus allows: each line with the next and the two lines of a couplet
// character by character (association.h), a real couplet taken whole where
// two consecutive hidden characters allow one, parallel middle couplets in
// a 律诗, lines near the theme and the occasion's images, and better-ranked
// sources (regulated Tang and Song shi first).
//
// The steps: the corpus lines each character can take (candidate_lines.h),
// the rhyme groups and tonal templates that suit them best (poem_form.h),
// and for each of the best few the candidates for each line under that form
// and a beam search over them (poem_search.h); the best poem of them all is
// the poem, so that a rhyme with no fresh rhyme character for a line gives
// way to another. A character that no corpus line holds at its place gets a
// made line: a corpus line whose character there has the same tone class,
// with the hidden character put in.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "poemd/compose/line_rules.h"
#include "poemd/compose/poem_order.h"
#include "poemd/index/corpus_index.h"
#include "poemd/verse/tonal_pattern.h"

namespace miravel::poemd {

struct ComposedLine {
  std::u16string text;       // the hidden character in its place
  uint32_t corpus_line = 0;  // the line taken, or the one a made line comes from
  bool made = false;
  bool has_source = false;  // false when the corpus has no line of this length
};

struct Poem {
  std::vector<ComposedLine> lines;
  RhymeBook book = RhymeBook::kBoth;
  Occasion occasion = Occasion::kNone;  // what it was written for, found when not asked
  RhymeKey rhyme;  // the rhyme the rhyming lines were meant to share, in its book
  Opening opening = Opening::kLevel;
};

// A line of a poem to keep: a corpus line, or the donor of a made line.
struct KeptLine {
  uint32_t line = 0;
  bool made = false;
};

struct ComposeOptions {
  uint64_t seed = 0;
  // Theme words: lines associated with them are preferred. Empty: the
  // hidden characters set the theme.
  std::u16string theme;
  // Set to keep a poem's template and rhyme while lines change.
  std::optional<RhymeKey> rhyme;
  std::optional<Opening> opening;
  // Per line, a line to keep as it is (a corpus line that still holds the
  // character at its place, or a made line's donor), and corpus lines not
  // to take again.
  std::vector<std::optional<KeptLine>> kept;
  std::vector<std::vector<uint32_t>> refused;
};

// The same order, options and index always give the same poem.
Poem ComposePoem(const CorpusIndex& index, const PoemOrder& order, const ComposeOptions& options);

}  // namespace miravel::poemd
