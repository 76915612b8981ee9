// What the composer gives and what a caller may ask it to keep: the types
// at the foot of compose/, which know nothing of how a poem is made.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "poemd/compose/line_rules.h"
#include "poemd/compose/occasion.h"
#include "poemd/index/subjects.h"
#include "poemd/verse/rhyme_books.h"
#include "poemd/verse/tonal_pattern.h"

namespace miravel::poemd {

struct ComposedLine {
  std::u16string text;       // the hidden character in its place
  uint32_t corpus_line = 0;  // the line taken, or the one a made line comes from
  bool made = false;
  bool has_source = false;  // false when the corpus has no line of this length
};

// A scoring term's share of a poem's score (terms/term.h): the rules it
// counts broken, weighed, and its preference.
struct TermShare {
  std::string_view name;  // the term's name, static
  int64_t penalty = 0;
  float preference = 0;
};

// No subject: an index that knows none, or a poem of no characters.
inline constexpr SubjectId kNoSubject = 0xFFFF;

struct Poem {
  std::vector<ComposedLine> lines;
  // What it is about (subjects.h), chosen before its lines, and the other
  // subjects it might have been composed under, best first.
  SubjectId subject = kNoSubject;
  std::vector<SubjectId> other_subjects;
  RhymeBook book = RhymeBook::kBoth;
  Occasion occasion = Occasion::kNone;  // what it was written for, found when not asked
  RhymeKey rhyme;  // the rhyme the rhyming lines were meant to share, in its book
  Opening opening = Opening::kLevel;
  // Each term's share of the poem's score, in the order the terms are
  // summed; their sums are the search's penalty and preference.
  std::vector<TermShare> shares;
};

// A line of a poem to keep: a corpus line, or the donor of a made line.
struct KeptLine {
  uint32_t line = 0;
  bool made = false;
};

}  // namespace miravel::poemd
