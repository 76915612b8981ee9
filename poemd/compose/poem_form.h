// A poem's rhyme and tonal template, chosen together from the corpus lines
// each hidden character can take, in the poem's rhyme book (line_rules.h):
// the rhyme and template of the primary reading under which the most lines
// have a line that ends as it must (rhyming lines in the rhyme, the others
// on 仄) and keeps the template, the first line's ending giving way first;
// between equals, chance, each as likely as the lines it has to choose from. A made line
// can end in any rhyme unless its character stands at the tail. In both
// books the modern group is chosen then: the one most rhyming lines can end
// in among their lines that keep the classical rules as well as any can.
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
  // In [0, 1): chooses among the forms that keep as much as any.
  double chance = 0;
};

PoemForm ChooseForm(const FormChoice& choice);

}  // namespace miravel::poemd
