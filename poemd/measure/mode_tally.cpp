#include "poemd/measure/mode_tally.h"

namespace miravel::poemd {

void ModeTally::Add(const PoemFacts& facts) {
  rhymes_ += facts.rhymes;
  group_ += facts.rhymes_group;
  links_ += facts.keeps_links;
  repeats_ += facts.repeats;
  lines_ += facts.lines;
  in_line_ += facts.lines_in_line;
  made_ += facts.made;
  drama_ += facts.drama;
}

}  // namespace miravel::poemd
