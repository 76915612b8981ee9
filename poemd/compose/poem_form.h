// A poem's rhyme and tonal template, chosen together from the corpus lines
// each hidden character can take, in the poem's rhyme book (line_rules.h):
// the rhymes and templates of the primary reading ranked by how many lines
// have a line that ends as it must (rhyming lines in the rhyme, the others
// on 仄) and keeps the template, the first line's ending giving way first;
// between equals, in an order chance draws, each as likely to come first as
// the lines it has to choose from. A made line can end in any rhyme unless
// its character stands at the tail. In both books each form's modern group
// is chosen then: the one most rhyming lines can end in among their lines
// that keep the classical rules as well as any can.
#pragma once

#include <optional>
#include <vector>

#include "poemd/compose/line_rules.h"

namespace miravel::poemd {

struct PoemForm {
  RhymeKey rhyme;
  Opening opening = Opening::kLevel;
};

struct FormChoice {
  int length = 5;
  bool first_line_rhymes = false;
  RhymeBook book = RhymeBook::kBoth;
  // Per line: what the corpus lines it may take read like; empty for a line
  // that will be made. `tails` gives, for such a line, the reading of its
  // hidden character when it stands at the tail (only the last character
  // counts), and nullopt elsewhere.
  std::vector<std::vector<LineReading>> lines;
  std::vector<std::optional<LineReading>> tails;
  // Set to keep a form already chosen.
  std::optional<RhymeKey> rhyme;
  std::optional<Opening> opening;
  // Breaks a tie between the templates.
  Opening tie = Opening::kLevel;
  // Draws the order of forms that keep as much as each other.
  uint64_t draw = 0;
};

// Whether lines i and i + 1 of a poem of `lines` lines are a middle couplet,
// which the form asks to run in parallel (对仗): lines 3-4 and 5-6 of a 律诗,
// every couplet but the first and the last of a longer poem (排律).
inline bool IsMiddleCouplet(size_t i, size_t lines) {
  return lines >= 8 && i % 2 == 0 && i >= 2 && i + 3 < lines;
}

// At most `count` forms, the best first. Never empty.
std::vector<PoemForm> RankForms(const FormChoice& choice, size_t count);

}  // namespace miravel::poemd
