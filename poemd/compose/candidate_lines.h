// The lines the search weighs for each hidden character, and what it needs
// to know of each.
//
// For each character the corpus lines that hold it at its place are looked
// at (all of them, or kScanned from a random start); drama lines only when
// nothing else holds it. Once the poem's form is chosen (poem_form.h), the
// lines that keep the most rules are shortlisted by their preferences (rank,
// the theme, a little chance), then cut to those that go
// best with what the lines either side can offer. Real couplets whose lines
// hold two consecutive hidden characters join, paired. A character no line
// holds gets made lines instead: corpus lines whose character at the place
// has its tone class, with it put in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "poemd/compose/line_rules.h"
#include "poemd/compose/poem_composer.h"
#include "poemd/compose/poem_form.h"
#include "poemd/compose/poem_random.h"
#include "poemd/index/association.h"
#include "poemd/index/corpus_index.h"

namespace miravel::poemd {

struct Candidate {
  uint32_t line = 0;  // the corpus line, or a made line's donor
  bool made = false;
  int at = 0;              // the hidden character's position
  int penalty = 0;         // the rules it breaks (line_rules.h)
  float prior = 0;         // its preferences, on their own
  int partner = -1;        // the next line's candidate that completes a real couplet
  char16_t last = 0;       // its rhyme character, when it rhymes
  uint64_t signature = 0;  // its characters but the hidden ones, hashed onto 64 bits
  std::u16string text;
  LineVector vector{};
  ParallelRows parallel{};
};

// The bit a character sets in a signature.
inline uint64_t SignatureBit(char16_t c) {
  return uint64_t{1} << ((uint32_t{c} * 0x9E3779B1u) >> 26);
}

class CandidateLines {
 public:
  // Looks at the corpus lines. The references must outlive this object.
  CandidateLines(const CorpusIndex& index, const PoemOrder& order, const ComposeOptions& options,
                 PoemRandom& random);

  // What ChooseForm needs: the lines looked at, per hidden character.
  FormChoice Choice() const;
  // The candidates of each line under `form`, best first. Never empty.
  std::vector<std::vector<Candidate>> Build(const PoemForm& form);

 private:
  // A corpus line that holds line i's character at its place.
  struct CorpusLine {
    uint32_t line;
    LineTraits traits;
  };

  char16_t HiddenAt(size_t i) const { return order_.characters[i]; }
  bool IsHidden(char16_t c) const;
  int AtLine(size_t i) const { return order_.PositionAt(i); }
  bool Refused(size_t i, uint32_t line) const;
  // The line the options ask to keep at line i, when it can stand there.
  std::optional<KeptLine> KeptLineAt(size_t i) const;
  // The corpus lines looked at for line i.
  std::vector<CorpusLine> FindLines(size_t i);
  // The preferences of a line before the theme and its neighbours.
  float BasePrior(const LineTraits& traits);
  // `donor` with line i's hidden character put in at its place.
  LineReading WithHiddenCharacter(LineReading donor, size_t i) const;
  // Fills in the candidate's vectors, its prior with the theme, its rhyme
  // character and its signature.
  void AddVectorsAndPrior(Candidate& c, float base_prior, const LineVector& theme) const;
  std::vector<Candidate> Shortlist(size_t i, const LineRules& rules, const LineVector& theme);
  // Made lines for line i, donors that keep the rules first.
  std::vector<Candidate> MadeCandidates(size_t i, const LineRules& rules, const LineVector& theme);
  Candidate CorpusCandidate(size_t i, uint32_t line, int penalty, float prior,
                            const LineVector& theme) const;
  Candidate MadeCandidate(size_t i, uint32_t donor, int penalty, float prior,
                          const LineVector& theme);
  // Keeps, for each line, the candidates that go best with the likeliest
  // candidates of the lines either side.
  void NarrowByNeighbours(std::vector<std::vector<Candidate>>& lists) const;
  void AddCouplets(std::vector<std::vector<Candidate>>& lists, const LineRules& rules,
                   const LineVector& theme);

  const CorpusIndex& index_;
  const PoemOrder& order_;
  const ComposeOptions& options_;
  PoemRandom& random_;
  const Association& association_;
  const int length_;
  std::vector<char16_t> hidden_;  // sorted
  std::vector<std::vector<CorpusLine>> found_;
};

}  // namespace miravel::poemd
