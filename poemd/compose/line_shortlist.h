// Each line's candidates under a form: of the lines the scan read for its
// hidden character, the ComposeSizes::shortlisted that keep the most rules
// and, among those, have the best found-stage preferences (rank, chance,
// occasion); then, with their vectors, cut to ComposeSizes::candidates by
// how well they go with the likeliest candidates of the lines either side
// (the neighbours term). A character hidden more often than the corpus has
// lines for it, or only in lines a line term refuses, gets made lines too;
// a made line the options keep is its line's only candidate.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "poemd/compose/candidate.h"
#include "poemd/compose/candidate_maker.h"
#include "poemd/compose/corpus_scan.h"
#include "poemd/compose/hidden_lines.h"
#include "poemd/compose/poem_random.h"
#include "poemd/compose/terms/scoring_terms.h"

namespace miravel::poemd {

class LineShortlist {
 public:
  // The references must outlive the shortlist.
  LineShortlist(const HiddenLines& hidden, const CorpusScan& scan, const ScoringTerms& terms,
                const CandidateMaker& maker, PoemRandom& random);

  // Each line's candidates under `form`, best by the rules first. None is
  // empty.
  std::vector<std::vector<Candidate>> Lists(const FormRules& form);

 private:
  // A line that does not rhyme is shortlisted alike under every rhyme of
  // one opening: once.
  std::vector<Candidate> Shortlist(size_t i, const FormRules& form);
  std::vector<Candidate> ShortlistAnew(size_t i, const FormRules& form);
  // Keeps, for each line, the candidates that go best with the likeliest
  // candidates of the lines either side (their mean vector).
  void NarrowByNeighbours(std::vector<std::vector<Candidate>>& lists) const;

  const HiddenLines& hidden_;
  const CorpusScan& scan_;
  const ScoringTerms& terms_;
  const CandidateMaker& maker_;
  PoemRandom& random_;
  // The shortlists of the lines that do not rhyme, by line and Opening.
  std::vector<std::array<std::optional<std::vector<Candidate>>, 2>> unrhymed_;
};

}  // namespace miravel::poemd
