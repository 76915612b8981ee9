// Makes the search's candidates (candidate.h): a line read by the scan, a
// corpus line a proposer brings (a real couplet's), or a made line; each
// weighed by the line terms stage by stage (terms/term.h), its association
// vectors computed once and shared, its rhyme character and signature set.
#pragma once

#include <cstdint>
#include <string_view>

#include "poemd/compose/candidate.h"
#include "poemd/compose/corpus_scan.h"
#include "poemd/compose/hidden_lines.h"
#include "poemd/compose/line_rules.h"
#include "poemd/compose/stable_pool.h"
#include "poemd/compose/terms/scoring_terms.h"

namespace miravel::poemd {

// A form being tried: the rules of its rhyme and opening.
struct FormRules {
  const LineRules& rules;
  Opening opening;
};

// What a found line becomes the first time a form shortlists it, whatever
// the form: its vectors, what the line terms of its vectors made of it, its
// signature. Later forms take it as it is.
struct PreparedLine {
  LineVectors vectors;
  LineCosts costs;  // the kVectors terms' only
  uint64_t signature = 0;
};

// A candidate with its vectors as the terms of kVectors and later read it.
LineView ViewOfCandidate(size_t i, const Candidate& c);

class CandidateMaker {
 public:
  // The references must outlive the maker.
  CandidateMaker(const HiddenLines& hidden, const ScoringTerms& terms);

  // A view of corpus line `line` as line i, for the terms to read.
  LineView ViewOf(size_t i, uint32_t line, const LineTraits& traits,
                  const LineReading& reading) const;
  // A found line under `form`: its form's terms weighed, then its vectors'.
  Candidate FromFound(size_t i, const FoundLine& found, const FormRules& form) const;
  // Corpus line `line` under `form`, weighed from the start.
  Candidate FromCorpus(size_t i, uint32_t line, const FormRules& form) const;
  // Donor `donor` with line i's hidden character put in, under `form`,
  // weighed from the start.
  Candidate Made(size_t i, uint32_t donor, const FormRules& form) const;
  // A made line weighed by what it is alone: a made line (and `rules`
  // broken, charged to the rules term), then its vectors' terms.
  Candidate MadeAsIs(size_t i, uint32_t donor, int rules) const;
  // A line for a corpus that has no line of the poem's length: blanks
  // around the hidden character, a made line, with no vectors to speak of.
  Candidate Blank(size_t i) const;
  // What the rules read of corpus line `donor` with line i's hidden
  // character in.
  LineReading MadeReading(size_t i, uint32_t donor) const;

 private:
  // Donor `donor` with line i's hidden character put in, unweighed.
  Candidate MadeText(size_t i, uint32_t donor) const;
  // Weighs `c` (its text, line and flags set) by every stage up to its
  // vectors', as line i.
  void WeighFromStart(size_t i, Candidate& c, const LineTraits& traits, const LineReading& reading,
                      const FormRules& form) const;
  // Weighs what comes after the form's terms: the vectors' terms, and sets
  // the rhyme character and signature.
  void Finish(size_t i, Candidate& c) const;
  // Vectors for `text` of source poem `poem`, kept as long as the maker.
  const LineVectors* VectorsOf(std::u16string_view text, uint32_t poem) const;
  void FillVectors(LineVectors& vectors, std::u16string_view text, uint32_t poem) const;
  uint64_t SignatureOf(const Candidate& c) const;

  const HiddenLines& hidden_;
  const ScoringTerms& terms_;
  const Association& association_;
  // Every candidate's vectors and every found line's preparation point here.
  mutable StablePool<LineVectors> vectors_;
  mutable StablePool<PreparedLine> prepared_;
};

}  // namespace miravel::poemd
