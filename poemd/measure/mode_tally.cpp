#include "poemd/measure/mode_tally.h"

namespace miravel::poemd {

void ModeTally::AddReading(const ReadingFacts& facts, Reading& into) {
  into.rhymes += facts.rhymes;
  into.templates += facts.whole_template;
  into.every_rule += facts.every_rule;
  into.links += facts.keeps_links;
  into.in_line += facts.lines_in_line;
  into.lonely += facts.lonely_level;
  into.three_level += facts.three_level_tail;
  into.unrhymed += facts.unrhymed;
  into.unrhymed_oblique += facts.unrhymed_oblique;
}

void ModeTally::Add(const PoemFacts& facts) {
  AddReading(facts.classical, classical_);
  AddReading(facts.modern, modern_);
  lines_ += facts.lines;
  group_ += facts.rhymes_group;
  repeats_ += facts.repeats;
  repeated_rhyme_ += facts.repeated_rhyme;
  made_ += facts.made;
  drama_ += facts.drama;
}

}  // namespace miravel::poemd
