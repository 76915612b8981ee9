// The lines the search weighs for each hidden character, and what it needs
// to know of each.
//
// For each character the corpus lines that hold it at its place are looked
// at (all of them, or kScanned from a random start); drama lines only when
// nothing else holds it. Once the poem's form is chosen (poem_form.h), the
// lines that keep the most rules are shortlisted by their preferences (rank,
// the theme and the occasion's images, the occasion's moods, a little
// chance), then cut to those that go best with what the lines either side
// can offer. A line of ill omen for a happy occasion breaks the first rule
// (occasion.h). Real couplets whose lines hold two consecutive hidden
// characters join, paired. A character no line holds, or only lines the
// occasion refuses, gets made lines too: corpus lines whose character at
// the place has its tone class, with it put in.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "poemd/compose/line_rules.h"
#include "poemd/compose/poem_composer.h"
#include "poemd/compose/poem_form.h"
#include "poemd/compose/poem_random.h"
#include "poemd/index/association.h"
#include "poemd/index/corpus_index.h"

namespace miravel::poemd {

struct LineVectors {
  LineVector cohesion;
  LineVector following;  // Association::Following(cohesion), ready to stand second
};

struct Candidate {
  uint32_t line = 0;  // the corpus line, or a made line's donor
  bool made = false;
  int at = 0;                   // the hidden character's position
  int penalty = 0;              // the rules it breaks (line_rules.h)
  float prior = 0;              // its preferences, on their own
  int partner = -1;             // the next line's candidate that completes a real couplet
  bool middle_partner = false;  // and that couplet is a middle couplet of a 律诗
  char16_t last = 0;            // its rhyme character, when it rhymes
  uint64_t signature = 0;       // its characters but the hidden ones, hashed onto 64 bits
  std::u16string text;
  // Its association vectors (association.h), shared by the candidates of
  // one line in every form tried.
  std::shared_ptr<const LineVectors> vectors;
  const LineVector& vector() const { return vectors->cohesion; }
  const LineVector& following() const { return vectors->following; }
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
    OccasionFit fit;          // what the occasion makes of it
    int template_penalty[2];  // LineRules::TemplatePenalty, by Opening
    float prior;              // BasePrior and the occasion's preference
    // Its vectors, once a form has shortlisted it: later forms reuse them.
    mutable std::shared_ptr<const LineVectors> vectors;
  };

  // How many candidates each line keeps for the search.
  static constexpr size_t kCandidates = 24;

  char16_t HiddenAt(size_t i) const { return order_.characters[i]; }
  bool IsHidden(char16_t c) const;
  int AtLine(size_t i) const { return order_.PositionAt(i); }
  bool Refused(size_t i, uint32_t line) const;
  // The line the options ask to keep at line i, when it can stand there.
  std::optional<KeptLine> KeptLineAt(size_t i) const;
  // The corpus lines looked at for line i.
  std::vector<CorpusLine> FindLines(size_t i);
  CorpusLine Found(size_t i, uint32_t line);
  // What a found line breaks as line i under `rules` and `opening`: its
  // ending and template, and the occasion's refusal as a rule.
  static int PenaltyOf(size_t i, const CorpusLine& line, const LineRules& rules, Opening opening);
  // The preferences of a line before the theme and its neighbours.
  float BasePrior(const LineTraits& traits);
  // `donor` with line i's hidden character put in at its place.
  LineReading WithHiddenCharacter(LineReading donor, size_t i) const;
  // The vectors of `text`.
  std::shared_ptr<const LineVectors> VectorsOf(std::u16string_view text) const;
  // Fills in the candidate's vectors, its prior with the theme, its rhyme
  // character and its signature.
  void AddVectorsAndPrior(Candidate& c, float base_prior, const LineVector& theme) const;
  // The same once its vectors are in.
  void FillPrior(Candidate& c, float base_prior, const LineVector& theme) const;
  // What the occasion makes of a line's text at line i.
  OccasionFit Fit(size_t i, uint32_t line, std::u16string_view text) const;
  // The words the poem keeps near: the theme (or, without one, the hidden
  // characters) and the occasion's images.
  LineVector Theme() const;
  // A line that does not rhyme is shortlisted alike under every rhyme of
  // one opening: once.
  std::vector<Candidate> Shortlist(size_t i, const LineRules& rules, Opening opening,
                                   const LineVector& theme);
  std::vector<Candidate> ShortlistAnew(size_t i, const LineRules& rules, Opening opening,
                                       const LineVector& theme);
  // Made lines for line i, donors that keep the rules first.
  std::vector<Candidate> MadeCandidates(size_t i, const LineRules& rules, const LineVector& theme);
  Candidate CorpusCandidate(size_t i, uint32_t line, int penalty, float prior,
                            const LineVector& theme) const;
  // The same of a line found for line i, its vectors computed once.
  Candidate FoundCandidate(size_t i, const CorpusLine& found, int penalty, float prior,
                           const LineVector& theme) const;
  Candidate MadeCandidate(size_t i, uint32_t donor, int penalty, float prior,
                          const LineVector& theme);
  // Keeps, for each line, the candidates that go best with the likeliest
  // candidates of the lines either side.
  void NarrowByNeighbours(std::vector<std::vector<Candidate>>& lists) const;
  void AddCouplets(std::vector<std::vector<Candidate>>& lists, const LineRules& rules,
                   const LineVector& theme);
  // The middle couplets of a poem of eight lines or more: the corpus lines
  // of each second line that answer the likeliest first lines best in
  // parallel (parallel_model.h), keeping as many rules as its best, join
  // its candidates.
  void AddParallelPartners(std::vector<std::vector<Candidate>>& lists, const LineRules& rules,
                           Opening opening, const LineVector& theme);

  const CorpusIndex& index_;
  const PoemOrder& order_;
  const ComposeOptions& options_;
  PoemRandom& random_;
  const Association& association_;
  const int length_;
  const Occasion occasion_;
  // The rules of each opening's template (the rhyme aside).
  const LineRules templates_[2];
  LineVector theme_{};  // Theme(), once
  bool theme_known_ = false;
  // The shortlists of the lines that do not rhyme, by line and Opening.
  std::vector<std::array<std::optional<std::vector<Candidate>>, 2>> unrhymed_shortlists_;
  std::vector<char16_t> hidden_;  // sorted
  std::vector<std::vector<CorpusLine>> found_;
};

}  // namespace miravel::poemd
