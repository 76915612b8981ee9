// The corpus lines each hidden character can take, read once a
// composition: for each line of the poem the lines that hold its character
// at its place, each weighed by the line terms that need no form
// (terms/term.h's kFound stage), with what every form will ask of it. Under
// a subject (subject_choice.h) its poems' lines come first
// (ComposeSizes::subject_scanned), near subjects' next (near_scanned),
// then any (scanned): each from a random start, all of them
// when there are fewer; drama lines only when nothing else holds the
// character. A line to keep is the only line read for its place.
#pragma once

#include <vector>

#include "poemd/compose/candidate.h"
#include "poemd/compose/hidden_lines.h"
#include "poemd/compose/line_rules.h"
#include "poemd/compose/poem_form.h"
#include "poemd/compose/poem_random.h"
#include "poemd/compose/terms/scoring_terms.h"

namespace miravel::poemd {

struct PreparedLine;

struct FoundLine {
  uint32_t line = 0;
  LineTraits traits;
  LineReading reading;
  int penalty = 0;  // by the found lines' terms: a line of ill omen for a happy occasion
  float prior = 0;  // their preferences
  LineCosts costs;
  // Its template penalty under each Opening: no rhyme changes it.
  int template_penalties[2] = {0, 0};
  // What the first form to shortlist it made of it, for later forms to
  // reuse (candidate_maker.h); null until then.
  mutable const PreparedLine* prepared = nullptr;

  // Whether a line term refuses it whatever the form.
  bool Refused() const { return penalty != 0; }
};

class CorpusScan {
 public:
  // Reads the lines, drawing from `random` and weighing with `terms`; the
  // references must outlive the scan.
  // `near`: the subjects whose lines come after the subject's, nearest
  // first.
  CorpusScan(const HiddenLines& hidden, const ScoringTerms& terms, PoemRandom& random,
             SubjectId subject = kNoSubject, std::vector<SubjectId> near = {});

  const std::vector<FoundLine>& Found(size_t i) const { return found_[i]; }
  // What RankForms needs: the lines read, per hidden character.
  FormChoice Choice() const;

 private:
  std::vector<FoundLine> Read(size_t i);
  // Reads up to `count` of `lines` into `out` from a random start, but
  // those in `taken` (sorted), adding what it read to `taken`.
  void ReadSome(size_t i, std::span<const uint32_t> lines, size_t count,
                std::vector<uint32_t>& taken, std::vector<FoundLine>& out);
  FoundLine Weighed(size_t i, uint32_t line) const;

  const HiddenLines& hidden_;
  const ScoringTerms& terms_;
  PoemRandom& random_;
  const SubjectId subject_;
  const std::vector<SubjectId> near_;
  // The rules of each opening's template (the rhyme aside).
  const LineRules templates_[2];
  std::vector<std::vector<FoundLine>> found_;
};

}  // namespace miravel::poemd
